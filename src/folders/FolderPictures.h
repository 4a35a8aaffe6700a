// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

/// The pictures of the folder chooser and the file lists, drawn for this program.
namespace folderPictures {

QIcon openFolder();
QIcon closedFolder();
QIcon file();
QIcon drive();
QIcon desktop();
QIcon documents();
QIcon program();

} // namespace folderPictures
