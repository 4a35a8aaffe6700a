// SPDX-License-Identifier: GPL-3.0-or-later
#include "TreeLines.h"

#include <QPainter>
#include <QTreeView>

namespace struktur {

BranchLines branchLines(const BranchPlace& place, const QRect& rect, int indent)
{
    BranchLines result;
    const int own = rect.right() + 1 - indent;
    const int middleY = rect.top() + rect.height() / 2;
    const auto middleX = [indent](int column) { return column + indent / 2; };

    const int x = middleX(own);
    if (place.joinsAbove)
        result.lines.append(QLine(x, rect.top(), x, middleY));
    if (place.hasNextSibling)
        result.lines.append(QLine(x, middleY, x, rect.bottom()));
    result.lines.append(QLine(x, middleY, rect.right(), middleY));

    for (qsizetype depth = 0; depth < place.ancestorContinues.size(); ++depth) {
        if (!place.ancestorContinues[depth])
            continue;
        const int column = own - indent * int(place.ancestorContinues.size() - depth);
        result.lines.append(QLine(middleX(column), rect.top(), middleX(column), rect.bottom()));
    }

    if (place.hasChildren) {
        constexpr int size = 9;
        result.box = QRect(x - size / 2, middleY - size / 2, size, size);
        result.expanded = place.expanded;
    }
    return result;
}

namespace {

BranchPlace placeOf(const QTreeView& view, const QModelIndex& index)
{
    const QAbstractItemModel& model = *index.model();
    BranchPlace place;
    place.joinsAbove = index.parent().isValid() || index.row() > 0;
    place.hasNextSibling = index.row() + 1 < model.rowCount(index.parent());
    place.hasChildren = model.hasChildren(index);
    place.expanded = view.isExpanded(index);
    for (QModelIndex ancestor = index.parent(); ancestor.isValid(); ancestor = ancestor.parent())
        place.ancestorContinues.prepend(ancestor.row() + 1 < model.rowCount(ancestor.parent()));
    return place;
}

/// One pixel on, one off, on a grid fixed to the view, so that lines of neighbouring rows join.
void drawDotted(QPainter& painter, const QLine& line)
{
    const bool vertical = line.x1() == line.x2();
    const int from = vertical ? std::min(line.y1(), line.y2()) : std::min(line.x1(), line.x2());
    const int to = vertical ? std::max(line.y1(), line.y2()) : std::max(line.x1(), line.x2());
    const int fixed = vertical ? line.x1() : line.y1();
    for (int at = from; at <= to; ++at) {
        if ((at + fixed) % 2 != 0)
            continue;
        painter.drawPoint(vertical ? QPoint(fixed, at) : QPoint(at, fixed));
    }
}

} // namespace

void drawBranchLines(QPainter& painter, const QTreeView& view, const QRect& rect, const QModelIndex& index)
{
    if (!index.isValid() || view.indentation() <= 0)
        return;
    const BranchLines branch = branchLines(placeOf(view, index), rect, view.indentation());
    const QPalette& colours = view.palette();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(colours.color(QPalette::Mid));
    for (const QLine& line : branch.lines)
        drawDotted(painter, line);
    if (!branch.box.isNull()) {
        painter.setBrush(colours.color(QPalette::Base));
        painter.drawRect(branch.box.adjusted(0, 0, -1, -1));
        painter.setPen(colours.color(QPalette::Text));
        const QPoint centre = branch.box.center();
        painter.drawLine(centre.x() - 2, centre.y(), centre.x() + 2, centre.y());
        if (!branch.expanded)
            painter.drawLine(centre.x(), centre.y() - 2, centre.x(), centre.y() + 2);
    }
    painter.restore();
}

} // namespace struktur
