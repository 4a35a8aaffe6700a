// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shading.h"

#include <cmath>

namespace struktur::rtf {

QColor shadingColor(const ParaProps& para, const Tables& tables)
{
    if (para.shadingBackground <= 0 && para.shading <= 0)
        return {};
    const int64_t background = tables.color(para.shadingBackground);
    if (para.shading <= 0)
        return background >= 0 ? QColor(QRgb(background)) : QColor();
    const int64_t pattern = tables.color(para.shadingPattern);
    const QColor over(pattern >= 0 ? QRgb(pattern) : qRgb(0, 0, 0));
    const QColor under(background >= 0 ? QRgb(background) : qRgb(255, 255, 255));
    const double share = para.shading / 10000.0;
    const auto mix = [share](int a, int b) { return int(std::lround(a * share + b * (1 - share))); };
    return QColor(mix(over.red(), under.red()), mix(over.green(), under.green()), mix(over.blue(), under.blue()));
}

} // namespace struktur::rtf
