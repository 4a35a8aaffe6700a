// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "search/DocumentTextCache.h"
#include "search/StructureSearch.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QTextEdit;
class QTimer;
class TStruktur;

namespace struktur {

namespace search {
class DocumentReader;
}

/// The search bar under the element tree: a text field, the two match options, the list of
/// matching elements in tree order and their count. Captions answer at once; documents are read
/// in the background (progress on the hint line) and their results follow. Choosing a result
/// selects the element in the tree and reports `resultChosen`, after which the page fills its
/// fields and calls selectHitIn() for the editor.
class SearchBar : public QWidget {
    Q_OBJECT

public:
    explicit SearchBar(TStruktur* struktur, QWidget* parent = nullptr);
    ~SearchBar() override;

    /// Shows the bar with the focus in the text field, its text selected.
    void open();

    /// Selects the first hit of the current search text in the editor's document, by the current
    /// case rule; leaves the selection alone when the document does not hold it.
    void selectHitIn(QTextEdit* editor) const;

    /// The text last put on the hint line about reading documents; empty when none is read.
    const QString& progressText() const { return m_progressText; }
    /// True while documents are being read.
    bool isReadingDocuments() const;
    /// True while typing has not paused long enough for the search to run.
    bool isSearchPending() const;

public Q_SLOTS:
    /// Moves to the next result (wrapping round) and chooses it.
    void nextResult();
    /// Moves to the previous result (wrapping round) and chooses it.
    void previousResult();

Q_SIGNALS:
    /// A result was chosen and its element selected in the tree.
    void resultChosen();

private:
    void createWidgets();
    void createLayout();
    void createConnections();

    void scheduleSearch();
    void runSearch();
    void showResults();
    void chooseResult(int row);
    void forgetResults();
    void showProgress(qsizetype done, qsizetype total);
    void setProgressText(const QString& text);

    class ResultModel;

    search::TextMatcher currentMatcher() const;
    bool searchesDocuments() const;

    TStruktur* m_struktur;
    search::DocumentTextCache m_cache;
    search::DocumentReader* m_reader = nullptr;
    QTimer* m_pause = nullptr;
    std::vector<search::SearchHit> m_hits;
    ResultModel* m_results = nullptr;
    QString m_progressText;

    QLineEdit* soegEdit = nullptr;
    QCheckBox* dokumentCheck = nullptr;
    QCheckBox* storeSmaaCheck = nullptr;
    QListView* soegListe = nullptr;
    QLabel* soegAntal = nullptr;
};

} // namespace struktur
