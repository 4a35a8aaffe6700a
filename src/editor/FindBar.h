// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextDocument>
#include <QTimer>
#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace struktur {

/// The find and replace bar under a rich-text control. Ctrl+F opens it for finding, Ctrl+H with
/// the replace row; F3 and Shift+F3 go to the next and previous hit, Escape closes it. Every hit
/// is highlighted (up to `maxHighlighted`) without touching the document's formats. Searching
/// goes through the plain text, so a hit may span several formatting runs; it wraps around the
/// end of the document.
class FindBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int maxHighlighted = 1000;

    /// `window` carries the four actions, so their keys work while it is active.
    FindBar(QTextEdit* edit, QWidget* window);

    void openFind();
    void openReplace();
    void closeBar();

    /// Selects the next (previous) hit after (before) the selection; false when there is none.
    bool findNext();
    bool findPrevious();
    /// Replaces the selected hit and goes to the next one; without a selected hit only finds.
    void replace();
    /// Replaces every hit in one undo step and reports the number on the hint line; returns it.
    int replaceAll();

    QLineEdit* findField = nullptr;
    QLineEdit* replaceField = nullptr;
    QCheckBox* matchCase = nullptr;
    QCheckBox* wholeWords = nullptr;
    QPushButton* nextButton = nullptr;
    QPushButton* previousButton = nullptr;
    QPushButton* replaceButton = nullptr;
    QPushButton* replaceAllButton = nullptr;

    QAction* Afind = nullptr;
    QAction* Areplace = nullptr;
    QAction* AfindNext = nullptr;
    QAction* AfindPrevious = nullptr;

private:
    void createWidgets();
    void createLayout();
    void createActions(QWidget* window);
    void createConnections();
    void open(bool withReplace);
    bool find(bool backward);
    bool selectionIsHit() const;
    QTextDocument::FindFlags flags() const;
    void highlightHits();

    QTextEdit* m_edit;
    QLabel* m_findLabel = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QPushButton* m_closeButton = nullptr;
    QTimer m_highlightTimer;
};

} // namespace struktur
