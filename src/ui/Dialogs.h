// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace struktur {

/// Every message box of the program goes through here, so that tests can answer them and
/// read their texts. A line break inside a message is the single character 13 (CR).
class Dialogs {
public:
    enum class Kind {
        Inform,            ///< caption "Information", OK, no icon
        InformIcon,        ///< caption "Information", OK, information icon
        AskYesNo,          ///< caption "Spørgsmål", Yes and No
        AskYesNoCancel,    ///< caption "Spørgsmål", Yes, No and Cancel
        Error,             ///< caption given, stop icon, OK
        ErrorClose,        ///< caption given, stop icon, Close
    };
    enum class Answer { Ok, Yes, No, Cancel, Close };

    struct Request {
        Kind kind;
        QString caption;
        QString text;
    };
    using Responder = std::function<Answer(const Request&)>;

    static void inform(QWidget* parent, const QString& text);
    static void informWithIcon(QWidget* parent, const QString& text);
    static bool askYesNo(QWidget* parent, const QString& text);
    static Answer askYesNoCancel(QWidget* parent, const QString& text);
    static void error(QWidget* parent, const QString& caption, const QString& text);
    static void errorWithClose(QWidget* parent, const QString& caption, const QString& text);

    /// The window a box for `parent` is centred on: parent's window; without a parent the modal
    /// dialog in front, the active window, else the main window when shown. Null only when no
    /// window is shown at all.
    static QWidget* owner(QWidget* parent);

    /// Replaces the real message boxes (tests); an empty responder restores them.
    static void setResponder(Responder responder);
    /// The responder in place (empty while the real boxes are shown).
    static Responder currentResponder();

private:
    static Answer show(QWidget* parent, const Request& request);
};

} // namespace struktur
