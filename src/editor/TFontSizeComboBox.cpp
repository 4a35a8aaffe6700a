// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFontSizeComboBox.h"

#include "editor/ComboSelection.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
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
    const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (family.compare(faceName, Qt::CaseInsensitive) == 0)
            return family;
    }
    return {};
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
    const QString family = installedFamily(faceName);
    if (family.isEmpty())
        return face;
    if (QFontDatabase::isSmoothlyScalable(family)) {
        face.kind = FaceFonts::Kind::Scalable;
        return face;
    }
    face.kind = FaceFonts::Kind::Bitmap;
    // Each fixed size of each style is one font; the cell height less the internal leading is
    // the em height in pixels, which the size rule turns into points.
    const QStringList styles = QFontDatabase::styles(family);
    for (const QString& style : styles) {
        const QList<int> sizes = QFontDatabase::pointSizes(family, style);
        for (const int size : sizes) {
            QFont font = QFontDatabase::font(family, style, size);
            const QFontMetrics metrics(font);
            const QFontInfo info(font);
            face.fonts.append({ metrics.height(), metrics.height() - info.pixelSize() });
        }
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
