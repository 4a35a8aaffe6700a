// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableRows.h"

#include "ReaderLimits.h"

namespace struktur::rtf {
namespace {

constexpr int64_t kMinCellBudget = 200000;

} // namespace

TableRows::TableRows(Sink& sink, qsizetype inputSize)
    : m_sink(sink)
    , m_cellBudget(std::max<int64_t>(kMinCellBudget, inputSize / 8))
{
}

bool TableRows::rowWord(Keyword keyword, const Token& token)
{
    switch (keyword) {
    case Keyword::trowd:
        m_rowDef = RowDef {};
        m_nextHorizontalMerge = m_nextVerticalMerge = CellMerge::None;
        return true;
    case Keyword::cellx:
        if (m_rowDef.cells.size() < size_t(kMaxCellsPerRow)) {
            CellDef cell;
            cell.right = clampParam(token, -31680, 31680 * 4, 0);
            cell.horizontal = m_nextHorizontalMerge;
            cell.vertical = m_nextVerticalMerge;
            m_rowDef.cells.push_back(cell);
        }
        m_nextHorizontalMerge = m_nextVerticalMerge = CellMerge::None;
        return true;
    case Keyword::clmgf:
        m_nextHorizontalMerge = CellMerge::First;
        return true;
    case Keyword::clmrg:
        m_nextHorizontalMerge = CellMerge::Continue;
        return true;
    case Keyword::clvmgf:
        m_nextVerticalMerge = CellMerge::First;
        return true;
    case Keyword::clvmrg:
        m_nextVerticalMerge = CellMerge::Continue;
        return true;
    case Keyword::clbrdrt:
    case Keyword::clbrdrb:
    case Keyword::clbrdrl:
    case Keyword::clbrdrr:
    case Keyword::trbrdrt:
    case Keyword::trbrdrb:
    case Keyword::trbrdrl:
    case Keyword::trbrdrr:
        m_rowDef.borders = true;
        return true;
    default:
        return false;
    }
}

void TableRows::sync(bool wantTable)
{
    if (wantTable && !m_inRow && m_cellBudget <= 0)
        wantTable = false;
    if (wantTable) {
        if (!m_inRow) {
            m_inRow = true;
            m_inTable = true;
            m_cellBudget -= std::max<int64_t>(1, int64_t(m_rowDef.cells.size()));
            m_cellIndex = 0;
            m_sink.rowStart(m_rowDef);
        }
        return;
    }
    if (!m_inTable)
        return;
    if (m_inRow) {
        m_inRow = false;
        m_sink.rowEnd(m_rowDef);
    }
    m_inTable = false;
    m_sink.tableEnd();
}

bool TableRows::nextCellCovered()
{
    const size_t index = m_cellIndex++;
    return index < m_rowDef.cells.size()
        && (m_rowDef.cells[index].horizontal == CellMerge::Continue
            || m_rowDef.cells[index].vertical == CellMerge::Continue);
}

void TableRows::closeRow()
{
    m_inRow = false;
    m_sink.rowEnd(m_rowDef);
}

} // namespace struktur::rtf
