// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/FontSizes.h"

#include <QComboBox>
#include <functional>

namespace struktur {

/// A combo box listing the point sizes one font face can be shown in: the standard sizes for a
/// scalable face, the sizes it really has for a bitmap face; for a face that is not installed,
/// those of the face drawn in its place, and nothing only when no face can be drawn at all. Its field stays editable; the user's changes (choosing or typing) raise Change,
/// while programmatic selections raise nothing.
class TFontSizeComboBox : public QComboBox {
    Q_OBJECT

public:
    /// What the font system knows about a face.
    struct FaceFonts {
        enum class Kind { NotInstalled, Scalable, Bitmap };
        Kind kind = Kind::NotInstalled;
        /// The fixed-size fonts of a bitmap face, in the order the font system gives them.
        QList<fontsizes::BitmapFont> fonts;
    };
    using FaceSource = std::function<FaceFonts(const QString& faceName)>;
    using NyFontSizeHandler = std::function<void(TFontSizeComboBox* Sender, int NyFontsize)>;
    using ClickHandler = std::function<void(TFontSizeComboBox* Sender)>;

    explicit TFontSizeComboBox(QWidget* parent = nullptr);

    QString FontName() const { return FFontName; }
    /// Sets the face and rebuilds the list, also when the name is the same as before.
    void setFontName(const QString& Value);

    /// Refills the list for the current face; afterwards the entry equal to the text that the
    /// field showed before (ignoring case) is selected, or none, and the field keeps its text.
    void Build();

    /// The screen's vertical logical dots per inch, as taken by the last rebuild.
    int PixelsPerInch() const { return m_pixelsPerInch; }

    /// Called after the user changed the selected size, with that size; not when no entry is
    /// selected. None at creation.
    void setOnNyFontSize(NyFontSizeHandler handler) { FOnNyFontsize = std::move(handler); }
    const NyFontSizeHandler& OnNyFontSize() const { return FOnNyFontsize; }

    /// Called once at the end of every rebuild of a named face; none at creation.
    void setOnClick(ClickHandler handler) { m_onClick = std::move(handler); }

    /// Where face sizes come from (the installed fonts unless replaced; tests use synthetic faces).
    void setFaceSource(FaceSource source);
    /// The installed fonts' view of a face (the name is matched ignoring case and foundry); a
    /// missing face is described by its substitute.
    static FaceFonts installedFaceFonts(const QString& faceName);

Q_SIGNALS:
    /// The box's change notification, raised before OnNyFontSize.
    void changed();

protected:
    /// The user changed the selection or the text.
    virtual void Change();

private:
    QString FFontName;
    NyFontSizeHandler FOnNyFontsize;
    ClickHandler m_onClick;
    FaceSource m_faceSource;
    int m_pixelsPerInch = 96;
};

} // namespace struktur
