// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QTextEdit;

namespace struktur {

/// The document editor window "Struktur tekst": one instance for the whole run, holding the
/// program's one document buffer `infoTekst`.
class TeditForm : public QWidget {
    Q_OBJECT

public:
    explicit TeditForm(const QString& programdir, QWidget* parent = nullptr);
    ~TeditForm() override;

    /// Writes the window's position and size to editopt.txt; throws struktur::Error on failure.
    void GemOpt();

    /// Empties the document; the next text starts in the default format.
    void clearDocument();
    /// Loads a document file (RTF, else plain text); throws "Cannot open file" on failure.
    void loadDocument(const QString& path);
    /// Saves the document as RTF, replacing the file atomically; throws "Cannot create file".
    void saveDocument(const QString& path);

    /// The window the print button shows.
    void setPrintWindow(QWidget* window);
    /// Supplies the document path that "Rediger i andet program" hands to another program;
    /// an empty path disables the command.
    void setDocumentPathSource(std::function<QString()> source);

    QTextEdit* infoTekst = nullptr;

private:
    QString m_programdir;
    QWidget* m_printWindow = nullptr;
    std::function<QString()> m_documentPath;
};

} // namespace struktur
