// SPDX-License-Identifier: GPL-3.0-or-later
#include "Instances.h"

#include "Tmainform.h"
#include "editor/TeditForm.h"
#include "folders/TmappeForm.h"
#include "printing/Tprintform.h"
#include "ui/ActionUpdates.h"
#include "ui/GuardedConnection.h"

namespace struktur {

Tmainform* mainform = nullptr;
::TmappeForm* mappeForm = nullptr;
TeditForm* editForm = nullptr;
Tprintform* printform = nullptr;

namespace {

// A window owned by the main window stays a window of its own, above the main window and off
// the taskbar.
void ownByMainWindow(QWidget* window) { window->setParent(mainform, window->windowFlags() | Qt::Window); }

} // namespace

void createWindows()
{
    mainform = new Tmainform;
    mappeForm = new ::TmappeForm(mainform);
    editForm = new TeditForm(mainform->programdir);
    ownByMainWindow(editForm);
    printform = new Tprintform(mainform->programdir);
    ownByMainWindow(printform);

    printform->setDocumentControl(editForm->infoTekst);
    editForm->setPrintWindow(printform);
    editForm->setDocumentPathSource([] { return mainform->currentDocumentPath(); });
    mainform->attachWindows(editForm, printform, mappeForm);
    connectGuarded(mainform, &Tmainform::closed, mainform, [] {
        for (QWidget* window :
            { static_cast<QWidget*>(mappeForm), static_cast<QWidget*>(editForm), static_cast<QWidget*>(printform) })
            window->close();
    });

    ActionUpdates::instance().requestUpdate();
}

void destroyWindows()
{
    // In the reverse order of creation, so no window outlives one it was wired to.
    delete printform;
    delete editForm;
    delete mappeForm;
    delete mainform;
    mainform = nullptr;
    mappeForm = nullptr;
    editForm = nullptr;
    printform = nullptr;
}

} // namespace struktur
