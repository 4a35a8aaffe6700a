// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLine>
#include <QList>
#include <QRect>

class QModelIndex;
class QPainter;
class QTreeView;

namespace struktur {

/// What the branch area left of one row shows: dotted lines joining the element to its parent
/// and siblings, and an expand box for an element with children.
struct BranchLines {
    QList<QLine> lines;
    /// The expand box; empty for a leaf.
    QRect box;
    bool expanded = false;
};

/// Where a row sits in the tree, as its branch area needs it.
struct BranchPlace {
    /// False only for the first top-level element: nothing above it to join.
    bool joinsAbove = true;
    bool hasNextSibling = false;
    /// For each ancestor from the top level down (as many as the element's level): whether a
    /// sibling follows it, so that its line passes this row.
    QList<bool> ancestorContinues;
    bool hasChildren = false;
    bool expanded = false;
};

/// The branch area of a row whose branch rectangle is `rect` (one column of `indent` pixels per
/// level, the element's own column rightmost).
BranchLines branchLines(const BranchPlace& place, const QRect& rect, int indent);

/// Draws the branch area of `index` in `view` as the platform's tree view does with its lines,
/// buttons and root lines on.
void drawBranchLines(QPainter& painter, const QTreeView& view, const QRect& rect, const QModelIndex& index);

} // namespace struktur
