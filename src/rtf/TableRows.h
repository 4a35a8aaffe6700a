// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Keywords.h"
#include "Properties.h"
#include "Sink.h"
#include "Tokenizer.h"

namespace struktur::rtf {

/// Table rows as RTF describes them: a row definition (\trowd, \cellx with its merge marks and
/// borders) in force until the next, paragraphs marked \intbl, \cell and \row. Reports rows and
/// tables to the sink. The number of cells a document can make is bounded by its size; past
/// that, cells are read as paragraphs.
class TableRows {
public:
    TableRows(Sink& sink, qsizetype inputSize);

    /// Handles a row-definition word; false for any other.
    bool rowWord(Keyword keyword, const Token& token);

    /// Opens a row (and table) when `wantTable` and none is open, or closes the open table when
    /// not; a new row is not opened once the cell budget is spent.
    void sync(bool wantTable);
    bool inRow() const { return m_inRow; }
    /// False when no row is open and none may be opened.
    bool mayOpenRow() const { return m_inRow || m_cellBudget > 0; }
    /// Moves on to the next cell of the open row: true when that cell is covered by a merge.
    bool nextCellCovered();
    /// Ends the open row.
    void closeRow();

private:
    Sink& m_sink;
    RowDef m_rowDef;
    CellMerge m_nextHorizontalMerge = CellMerge::None;
    CellMerge m_nextVerticalMerge = CellMerge::None;
    bool m_inTable = false;
    bool m_inRow = false;
    size_t m_cellIndex = 0;
    int64_t m_cellBudget;
};

} // namespace struktur::rtf
