// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

namespace struktur {

/// The one error type of the program: carries the message shown to the user in the error box.
/// Handlers do not catch it; the application's single catch point shows it and goes on.
class Error : public std::exception {
public:
    explicit Error(QString message);

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    /// "Cannot create file "%s". %s", naming the file by its full path (a relative `path` is taken
    /// against the current folder).
    static Error cannotCreateFile(const QString& path, const QString& reason);
    /// "Cannot open file "%s". %s", with the full path as for cannotCreateFile.
    static Error cannotOpenFile(const QString& path, const QString& reason);
    /// "List index out of bounds (%d)"
    static Error listIndexOutOfBounds(qsizetype index);
    /// "'%s' is not a valid integer value"
    static Error notAnInteger(const QString& text);
    /// "'%s' is not a valid floating point value"
    static Error notAFloat(const QString& text);
    /// "Invalid level (%d) for item "%s""
    static Error invalidLevel(int level, const QString& text);

private:
    QString m_message;
    QByteArray m_utf8;
};

/// The system's own English text for an `errno` value ("No space left on device"), whatever
/// the user's locale: it completes the English platform messages above.
QString systemErrorText(int errorNumber);

} // namespace struktur
