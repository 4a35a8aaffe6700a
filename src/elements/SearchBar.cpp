// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchBar.h"

#include "model/ElementIcons.h"
#include "model/ElementModel.h"
#include "model/TStruktur.h"
#include "search/DocumentReader.h"
#include "ui/HintLine.h"

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace struktur {
namespace {

using namespace struktur::search;

/// How long typing must pause before the search runs.
constexpr int typingPause = 150;

enum ResultRole {
    SnippetBeforeRole = Qt::UserRole + 1,
    SnippetHitRole,
    SnippetAfterRole,
};

/// Draws a result as its icon and path, and under it, for a document match, the snippet with
/// the hit in bold.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString before = index.data(SnippetBeforeRole).toString();
        const QString hit = index.data(SnippetHitRole).toString();
        const QString after = index.data(SnippetAfterRole).toString();
        // The first line as the style draws an item; the snippet drawn below it by hand.
        const int lineHeight = option.fontMetrics.height();
        QStyleOptionViewItem firstLine = item;
        firstLine.rect.setHeight(option.rect.height());
        firstLine.displayAlignment = Qt::AlignLeft | Qt::AlignTop;
        firstLine.decorationAlignment = Qt::AlignLeft | Qt::AlignTop;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &firstLine, painter, widget);

        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &firstLine, widget);
        QRect line(textRect.left() + 2, option.rect.top() + lineHeight + 2, textRect.width() - 2, lineHeight);
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        QFont bold = option.font;
        bold.setBold(true);
        const QFontMetrics boldMetrics(bold);
        auto drawPiece = [&](const QString& text, const QFont& font) {
            if (line.width() <= 0 || text.isEmpty())
                return;
            const QFontMetrics metrics(font);
            const QString shown = metrics.elidedText(text, Qt::ElideRight, line.width());
            painter->setFont(font);
            painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
            line.setLeft(line.left() + metrics.horizontalAdvance(shown));
        };
        drawPiece(before, option.font);
        drawPiece(hit, bold);
        drawPiece(after, option.font);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // Every row has room for a snippet, so that the list can lay out a million rows at once.
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(size.height() + option.fontMetrics.height() + 2);
        return size;
    }
};

} // namespace

/// The results as rows: the path and icon of each element, and the snippet of a document match.
/// Paths are made only for the rows a view asks for, so a million hits cost no more than their list.
class SearchBar::ResultModel : public QAbstractListModel {
public:
    ResultModel(const std::vector<SearchHit>& hits, QObject* parent)
        : QAbstractListModel(parent)
        , m_hits(hits)
    {
    }

    void reset(const std::function<void()>& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_hits.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || size_t(index.row()) >= m_hits.size())
            return {};
        const SearchHit& hit = m_hits[size_t(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return elementPath(hit.element);
        case Qt::DecorationRole:
            return elementIcon(hit.element->icon);
        case SnippetBeforeRole:
            return hit.snippet ? hit.snippet->before : QString();
        case SnippetHitRole:
            return hit.snippet ? hit.snippet->hit : QString();
        case SnippetAfterRole:
            return hit.snippet ? hit.snippet->after : QString();
        default:
            return {};
        }
    }

private:
    const std::vector<SearchHit>& m_hits;
};

namespace {

QString countText(qsizetype count)
{
    if (count == 0)
        return QStringLiteral("Ingen elementer");
    if (count == 1)
        return QStringLiteral("1 element");
    return QStringLiteral("%1 elementer").arg(count);
}

} // namespace

SearchBar::SearchBar(TStruktur* struktur, QWidget* parent)
    : QWidget(parent)
    , m_struktur(struktur)
{
    setObjectName(QStringLiteral("soegBar"));
    m_reader = new DocumentReader(m_cache, this);
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(typingPause);
    createWidgets();
    createLayout();
    createConnections();
    hide();
}

SearchBar::~SearchBar() { m_reader->cancel(); }

void SearchBar::createWidgets()
{
    soegEdit = new QLineEdit(this);
    soegEdit->setObjectName(QStringLiteral("soegEdit"));
    soegEdit->setClearButtonEnabled(true);
    soegEdit->setPlaceholderText(QStringLiteral("Søg"));
    setHint(soegEdit,
        QStringLiteral("Skriv den tekst der søges efter; Enter eller F3 går til næste, Skift+F3 til forrige"));
    dokumentCheck = new QCheckBox(QStringLiteral("Også i dokumenter"), this);
    dokumentCheck->setObjectName(QStringLiteral("dokumentCheck"));
    dokumentCheck->setChecked(true);
    setHint(dokumentCheck, QStringLiteral("Søg også i elementernes dokumenter"));
    storeSmaaCheck = new QCheckBox(QStringLiteral("Skeln mellem store og små bogstaver"), this);
    storeSmaaCheck->setObjectName(QStringLiteral("storeSmaaCheck"));
    setHint(storeSmaaCheck, QStringLiteral("Find kun teksten med netop de store og små bogstaver"));
    m_results = new ResultModel(m_hits, this);
    soegListe = new QListView(this);
    soegListe->setObjectName(QStringLiteral("soegListe"));
    soegListe->setModel(m_results);
    soegListe->setItemDelegate(new ResultDelegate(soegListe));
    soegListe->setUniformItemSizes(true);
    soegListe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    soegListe->setTextElideMode(Qt::ElideLeft);
    soegListe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    soegListe->setResizeMode(QListView::Adjust);
    setHint(soegListe, QStringLiteral("De elementer der indeholder teksten; vælg et for at gå til det"));
    soegAntal = new QLabel(this);
    soegAntal->setObjectName(QStringLiteral("soegAntal"));
}

void SearchBar::createLayout()
{
    // The two options one above the other, so that the bar fits the narrowest window.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 2, 0, 2);
    column->setSpacing(2);
    column->addWidget(soegEdit);
    column->addWidget(dokumentCheck);
    column->addWidget(storeSmaaCheck);
    column->addWidget(soegListe, 1);
    column->addWidget(soegAntal);
}

void SearchBar::createConnections()
{
    connect(soegEdit, &QLineEdit::textChanged, this, &SearchBar::scheduleSearch);
    connect(soegEdit, &QLineEdit::returnPressed, this, &SearchBar::nextResult);
    connect(dokumentCheck, &QCheckBox::toggled, this, &SearchBar::scheduleSearch);
    connect(storeSmaaCheck, &QCheckBox::toggled, this, &SearchBar::scheduleSearch);
    connect(m_pause, &QTimer::timeout, this, &SearchBar::runSearch);
    connect(soegListe, &QListView::clicked, this, [this](const QModelIndex& index) { chooseResult(index.row()); });
    connect(soegListe, &QListView::activated, this, [this](const QModelIndex& index) { chooseResult(index.row()); });

    connect(m_reader, &DocumentReader::progress, this, &SearchBar::showProgress);
    connect(m_reader, &DocumentReader::finished, this, [this] {
        setProgressText(QString());
        showResults();
    });

    // The results point at elements: any change of the tree drops them before they can dangle,
    // and the search runs again once the change is done.
    ElementModel* model = m_struktur->elementModel();
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &SearchBar::forgetResults);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &SearchBar::forgetResults);
    connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, &SearchBar::forgetResults);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &SearchBar::forgetResults);
    connect(model, &QAbstractItemModel::rowsInserted, this, &SearchBar::scheduleSearch);
    connect(model, &QAbstractItemModel::dataChanged, this, &SearchBar::scheduleSearch);
    connect(model, &QAbstractItemModel::modelReset, this, &SearchBar::scheduleSearch);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &SearchBar::scheduleSearch);
    connect(model, &QAbstractItemModel::rowsMoved, this, &SearchBar::scheduleSearch);
    connect(model, &QAbstractItemModel::layoutChanged, this, &SearchBar::scheduleSearch);

    auto* next = new QAction(this);
    next->setShortcut(Qt::Key_F3);
    auto* previous = new QAction(this);
    previous->setShortcut(Qt::SHIFT | Qt::Key_F3);
    auto* close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    for (QAction* action : { next, previous, close }) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(next, &QAction::triggered, this, &SearchBar::nextResult);
    connect(previous, &QAction::triggered, this, &SearchBar::previousResult);
    connect(close, &QAction::triggered, this, &QWidget::hide);
}

void SearchBar::open()
{
    show();
    soegEdit->setFocus(Qt::ShortcutFocusReason);
    soegEdit->selectAll();
    if (!soegEdit->text().isEmpty())
        scheduleSearch();
}

bool SearchBar::isReadingDocuments() const { return m_reader->isRunning(); }

bool SearchBar::isSearchPending() const { return m_pause->isActive(); }

TextMatcher SearchBar::currentMatcher() const
{
    return TextMatcher(
        soegEdit->text(), storeSmaaCheck->isChecked() ? CaseSensitivity::Sensitive : CaseSensitivity::Insensitive);
}

bool SearchBar::searchesDocuments() const { return dokumentCheck->isChecked() && !m_struktur->Infomappe().isEmpty(); }

void SearchBar::scheduleSearch()
{
    if (isVisible())
        m_pause->start();
}

void SearchBar::runSearch()
{
    m_pause->stop();
    showResults();
    // Whatever was saved since the last search is read again; unchanged documents cost a look
    // at their size and time only.
    if (!searchesDocuments() || soegEdit->text().isEmpty())
        return;
    const QStringList paths = documentFilePaths(m_struktur->Infomappe(), m_struktur->elementModel()->tree());
    showProgress(0, paths.size());
    m_reader->start(paths);
}

void SearchBar::showResults()
{
    const TextMatcher matcher = currentMatcher();
    DocumentTextSource documentText;
    if (searchesDocuments()) {
        const QString folder = m_struktur->Infomappe();
        documentText
            = [this, folder](const Element* element) { return m_cache.cached(documentFilePath(folder, element)); };
    }
    const int currentRow = soegListe->currentIndex().row();
    const Element* current
        = currentRow >= 0 && size_t(currentRow) < m_hits.size() ? m_hits[size_t(currentRow)].element : nullptr;
    m_results->reset([&] { m_hits = searchTree(m_struktur->elementModel()->tree(), matcher, documentText); });
    // Results that follow from the documents keep the place the user had reached.
    if (current) {
        const auto kept = std::find_if(
            m_hits.begin(), m_hits.end(), [current](const SearchHit& hit) { return hit.element == current; });
        if (kept != m_hits.end())
            soegListe->setCurrentIndex(m_results->index(int(kept - m_hits.begin())));
    }
    soegAntal->setText(matcher.isEmpty() ? QString() : countText(qsizetype(m_hits.size())));
}

void SearchBar::forgetResults()
{
    m_results->reset([this] { m_hits.clear(); });
    soegAntal->clear();
}

void SearchBar::nextResult()
{
    if (m_pause->isActive())
        runSearch();
    if (m_hits.empty())
        return;
    const int row = soegListe->currentIndex().row();
    chooseResult(row < 0 || size_t(row) + 1 >= m_hits.size() ? 0 : row + 1);
}

void SearchBar::previousResult()
{
    if (m_pause->isActive())
        runSearch();
    if (m_hits.empty())
        return;
    const int row = soegListe->currentIndex().row();
    chooseResult(row <= 0 ? int(m_hits.size()) - 1 : row - 1);
}

void SearchBar::chooseResult(int row)
{
    if (row < 0 || size_t(row) >= m_hits.size())
        return;
    soegListe->setCurrentIndex(m_results->index(row));
    soegListe->scrollTo(m_results->index(row));
    const QModelIndex index = m_struktur->elementModel()->indexOf(m_hits[size_t(row)].element);
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_struktur->expand(up);
    m_struktur->setCurrentIndex(index);
    m_struktur->scrollTo(index);
    Q_EMIT resultChosen();
}

void SearchBar::selectHitIn(QTextEdit* editor) const
{
    if (soegEdit->text().isEmpty())
        return;
    QTextDocument::FindFlags flags;
    if (storeSmaaCheck->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    const QTextCursor hit = editor->document()->find(soegEdit->text(), 0, flags);
    if (hit.isNull())
        return;
    editor->setTextCursor(hit);
    editor->ensureCursorVisible();
}

void SearchBar::showProgress(qsizetype done, qsizetype total)
{
    setProgressText(QStringLiteral("Læser dokumenter: %1 af %2").arg(done).arg(total));
}

void SearchBar::setProgressText(const QString& text)
{
    m_progressText = text;
    if (auto* frame = qobject_cast<QMainWindow*>(window()); frame && frame->statusBar()) {
        if (text.isEmpty())
            frame->statusBar()->clearMessage();
        else
            frame->statusBar()->showMessage(text);
    }
}

} // namespace struktur
