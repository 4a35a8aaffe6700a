// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PageGeometry.h"

#include <QString>
#include <QWidget>
#include <optional>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace struktur {

class Printer;
class PrintPreview;

/// The print window "Udskriv dokument": four margins in centimetres and a number of copies for
/// printing the editor's document on the default printer. Created once, hidden when closed; the
/// margins and copies last for the run, the position is kept in printoptions.txt.
class Tprintform : public QWidget {
    Q_OBJECT

public:
    explicit Tprintform(const QString& programdir, QWidget* parent = nullptr);
    ~Tprintform() override;

    /// The rich-text control whose document "Print" prints (the editor's `infoTekst`).
    void setDocumentControl(QTextEdit* control);
    /// The printer object "Print" uses; the system's default printer unless replaced (tests).
    void setPrinter(Printer& printer);

    /// Writes the window's top and left edge to printoptions.txt; throws struktur::Error.
    void GemOpt();
    /// Reads the position from printoptions.txt when it exists; throws struktur::Error for a
    /// file that cannot be read or holds no two integer lines, keeping what was read before.
    void HentOpt();

    /// The full path of the options file.
    const QString& optfil() const { return m_optfil; }

    void StandardClick();
    void lukKnapClick();
    /// Checks and converts the five fields and prints; throws struktur::Error for a refused
    /// value or a printer failure, leaving the window open.
    void printKnapClick();
    /// Checks and converts the fields as "Print" does and opens the preview of the pages
    /// (window-modal, deleted when closed); returns it, or null when a field is empty.
    PrintPreview* visKnapClick();

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* lukKnap = nullptr;
    QPushButton* printKnap = nullptr;
    QPushButton* visKnap = nullptr;

private:
    void createWidgets();
    void createLayout();
    void createConnections();
    void FormCreate(const QString& programdir);
    void filterField(QLineEdit* field, QString (*filter)(const QString&));
    struct PrintValues {
        Margins margins;
        qint32 copies = 0;
    };
    /// The five fields converted, or nothing after telling the user one is empty; a refused value
    /// throws.
    std::optional<PrintValues> readFields();

    QString m_optfil;
    QTextEdit* m_documentControl = nullptr;
    Printer* m_printer = nullptr;
};

} // namespace struktur
