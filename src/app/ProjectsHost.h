// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <optional>

namespace struktur {

namespace registry {
struct StructurePaths;
}

/// What the projects page asks of the window it stands in. The page knows structures only by
/// their registry entries and paths; the element tree, the structure page, the document editor
/// and the folder chooser stay the host's business.
class ProjectsHost {
public:
    /// The pictures of the page's buttons.
    enum class Picture { List, Scissors, TextLines, Folder, OpenFolder, EditSheet };

    /// The program folder, without a trailing separator.
    virtual QString programDir() const = 0;
    virtual QIcon picture(Picture picture) const = 0;

    /// When the element tree holds unsaved changes, asks whether to save them; false stops
    /// what was about to happen.
    virtual bool confirmUnsavedChanges() = 0;
    /// Empties the element fields and the document editor; with `Efocus` focuses the text field.
    virtual void ClearToNew(bool Efocus) = 0;
    /// Binds the element tree to a structure's three paths and reads it.
    virtual void openStructure(const registry::StructurePaths& paths) = 0;
    /// Binds the element tree to the paths of a structure just created, without reading them.
    virtual void startStructure(const registry::StructurePaths& paths) = 0;
    /// Shows the structure page with the structure's registry entry as its name and brings up
    /// the document editor.
    virtual void showStructure(const QString& entry) = 0;
    /// Lets the user compose a folder; nothing when the choice is cancelled.
    virtual std::optional<QString> chooseFolder() = 0;

protected:
    ~ProjectsHost() = default;
};

} // namespace struktur
