// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFontSizeComboBox.h"

#include "editor/ComboSelection.h"
#include "editor/FaceNames.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <cmath>

namespace struktur {

namespace {

/// Keeps the list from being redrawn while it is refilled, also when filling throws.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget& widget)
        : m_widget(widget)
        , m_wasEnabled(widget.updatesEnabled())
    {
        m_widget.setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { m_widget.setUpdatesEnabled(m_wasEnabled); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QWidget& m_widget;
    bool m_wasEnabled;
};

QString installedFamily(const QString& faceName)
{
    const QStringList families = facenames::plainFamilies(QFontDatabase::families());
    for (const QString& family : families) {
        if (family.compare(faceName, Qt::CaseInsensitive) == 0)
            return family;
    }
    return {};
}

/// The pixel sizes a bitmap style really has. The font system lists them as point sizes
/// rounded at the screen's resolution, which can join or shift neighbouring sizes, so each
/// pixel size that rounds to a listed point size is asked for and kept when the font has it.
QList<int> bitmapPixelSizes(const QString& family, const QString& style)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96.0;
    QList<int> pixelSizes;
    const QList<int> points = QFontDatabase::pointSizes(family, style);
    for (const int point : points) {
        const int lowest = int(std::floor((point - 0.5) * dotsPerInch / 72.0));
        const int highest = int(std::ceil((point + 0.5) * dotsPerInch / 72.0));
        for (int pixels = qMax(1, lowest); pixels <= highest; ++pixels) {
            QFont font = QFontDatabase::font(family, style, point);
            font.setPixelSize(pixels);
            if (QFontInfo(font).pixelSize() == pixels && !pixelSizes.contains(pixels))
                pixelSizes.append(pixels);
        }
    }
    return pixelSizes;
}

} // namespace

TFontSizeComboBox::TFontSizeComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_faceSource(&TFontSizeComboBox::installedFaceFonts)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this] { Change(); });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        selectEntryMatchingText(*this);
        Change();
    });
}

void TFontSizeComboBox::setFontName(const QString& Value)
{
    FFontName = Value;
    Build();
}

void TFontSizeComboBox::setFaceSource(FaceSource source)
{
    m_faceSource = source ? std::move(source) : FaceSource(&TFontSizeComboBox::installedFaceFonts);
}

TFontSizeComboBox::FaceFonts TFontSizeComboBox::installedFaceFonts(const QString& faceName)
{
    FaceFonts face;
    QString family = installedFamily(faceName);
    // A missing face is drawn with the one the font system puts in its place; its sizes are
    // the ones that work.
    if (family.isEmpty() && !faceName.isEmpty())
        family = installedFamily(facenames::drawnFamily(faceName));
    if (family.isEmpty())
        return face;
    if (QFontDatabase::isSmoothlyScalable(family)) {
        face.kind = FaceFonts::Kind::Scalable;
        return face;
    }
    face.kind = FaceFonts::Kind::Bitmap;
    // A bitmap font's pixel size is its em height, the cell height less the internal leading.
    const QStringList styles = QFontDatabase::styles(family);
    for (const QString& style : styles) {
        const QList<int> pixelSizes = bitmapPixelSizes(family, style);
        for (const int pixels : pixelSizes)
            face.fonts.append({ pixels, 0 });
    }
    return face;
}

void TFontSizeComboBox::Build()
{
    const QString text = currentText();
    const UpdatesSuspended suspended(*this);
    const QSignalBlocker blocker(lineEdit());
    clear();
    if (!FFontName.isEmpty()) {
        m_pixelsPerInch = qRound(screen() ? screen()->logicalDotsPerInchY() : 96.0);
        const FaceFonts face = m_faceSource(FFontName);
        QList<int> sizes;
        switch (face.kind) {
        case FaceFonts::Kind::NotInstalled:
            break;
        case FaceFonts::Kind::Scalable:
            sizes = fontsizes::standardSizes();
            break;
        case FaceFonts::Kind::Bitmap:
            sizes = fontsizes::bitmapFaceSizes(face.fonts, m_pixelsPerInch);
            break;
        }
        for (const int size : sizes)
            addItem(QString::number(size));
        lineEdit()->setText(text);
        selectKeepingText(*this, findText(text, Qt::MatchFixedString));
    }
    lineEdit()->setText(text);
    if (!FFontName.isEmpty() && m_onClick)
        m_onClick(this);
}

void TFontSizeComboBox::Change()
{
    Q_EMIT changed();
    if (FOnNyFontsize && currentIndex() >= 0)
        FOnNyFontsize(this, itemText(currentIndex()).toInt());
}

} // namespace struktur
