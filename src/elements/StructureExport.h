// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QToolButton;
class QWidget;
class TStruktur;

namespace struktur {

/// The structure page's "Eksportér": the action, its picture-only tool button with the menu
/// "Som hjemmeside…" and "Som PDF-bog…", and the two exports of the loaded structure. Each asks
/// for the target with the standard file dialog (a target that exists is replaced only when the
/// user says so) and shows a progress dialog whose "Annuller" leaves no half-written target.
/// Errors propagate as struktur::Error to the application's catch point.
class StructureExport : public QObject {
    Q_OBJECT

public:
    enum class Format { Site, Book };
    /// Asks for a target path; an empty path cancels. Replaceable for tests.
    using TargetChooser = std::function<QString(QWidget* parent, Format format)>;

    /// `structureName` gives the name readers see: the loaded structure's registry entry.
    StructureExport(TStruktur* struktur, std::function<QString()> structureName, QWidget* parent);

    QAction* action() const { return Aeksport; }
    QToolButton* button() const { return m_button; }

    /// Replaces the file dialog (tests); an empty chooser restores it.
    static void setTargetChooser(TargetChooser chooser);

    void AeksportUpdate();

public Q_SLOTS:
    void siteClick();
    void bookClick();

private:
    void exportAs(Format format);

    TStruktur* m_struktur;
    std::function<QString()> m_structureName;
    QWidget* m_parent;
    QAction* Aeksport = nullptr;
    QAction* m_siteAction = nullptr;
    QAction* m_bookAction = nullptr;
    QToolButton* m_button = nullptr;
};

} // namespace struktur
