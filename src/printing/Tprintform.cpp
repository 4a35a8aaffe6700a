// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tprintform.h"

#include "PrintPreview.h"
#include "PrintRichText.h"
#include "PrintValues.h"
#include "Printer.h"
#include "WindowPlacement.h"
#include "platform/Error.h"
#include "platform/OptionsFile.h"
#include "platform/ProgramFolder.h"
#include "ui/CreationGuard.h"
#include "ui/Dialogs.h"
#include "ui/ErrorDisplay.h"
#include "ui/GuardedConnection.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace struktur {
namespace {

const QString defaultTexts[]
    = { QStringLiteral("2,5"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1,5"), QStringLiteral("1") };

// Cream window and blue group boxes; a widget's own sheet wins over the application's style.
constexpr char windowStyle[] = "QWidget#printform { background-color: #FFFBF0; }"
                               "QGroupBox { background-color: #FFFBF0; color: #0000FF; }"
                               "QGroupBox QLabel, QGroupBox QLineEdit { color: #0000FF; }";

QLabel* labelFor(const char* name, const QString& text, QLineEdit* field, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(field);
    return label;
}

QLineEdit* field(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(QLatin1String(name));
    result->setAutoDefault(false);
    return result;
}

} // namespace

Tprintform::Tprintform(const QString& programdir, QWidget* parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_printer(&Printer::defaultPrinter())
{
    setObjectName(QStringLiteral("printform"));
    setWindowTitle(QStringLiteral("Udskriv dokument"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QLatin1String(windowStyle));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    // The client area; with the frame the outer size is 339 x 271 on the designed platform.
    setFixedSize(323, 233);
    move(0, 0);
    createWidgets();
    createLayout();
    createConnections();
    StandardClick();
    // An error while the window is created is shown, and the window still comes up.
    try {
        FormCreate(programdir);
    } catch (const Error& error) {
        showError(error);
    }
}

Tprintform::~Tprintform() = default;

void Tprintform::createWidgets()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Margen i centimeter"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = field("Edit1", GroupBox1);
    Label1 = labelFor("Label1", QStringLiteral("Venstre"), Edit1, GroupBox1);
    Edit2 = field("Edit2", GroupBox1);
    Label2 = labelFor("Label2", QStringLiteral("Højre"), Edit2, GroupBox1);
    Edit3 = field("Edit3", GroupBox1);
    Label3 = labelFor("Label3", QStringLiteral("Top"), Edit3, GroupBox1);
    Edit4 = field("Edit4", GroupBox1);
    Label4 = labelFor("Label4", QStringLiteral("Bund"), Edit4, GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral("Aktion"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Edit5 = field("Edit5", GroupBox2);
    Edit5->setFixedWidth(49);
    Label5 = labelFor("Label5", QStringLiteral("Kopiantal"), Edit5, GroupBox2);
    Bevel1 = new QFrame(GroupBox2);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Button1 = button("Button1", QStringLiteral("Standard"), GroupBox2);
    lukKnap = button("lukKnap", QStringLiteral("Annuller"), GroupBox2);
    printKnap = button("printKnap", QStringLiteral("Print"), GroupBox2);
    visKnap = button("visKnap", QStringLiteral("Vis udskrift"), GroupBox2);
}

void Tprintform::createLayout()
{
    auto* margins = new QVBoxLayout(GroupBox1);
    for (auto [label, edit] :
        { std::pair { Label1, Edit1 }, { Label2, Edit2 }, { Label3, Edit3 }, { Label4, Edit4 } }) {
        margins->addWidget(label);
        margins->addWidget(edit);
    }
    margins->addStretch();

    auto* action = new QVBoxLayout(GroupBox2);
    action->addWidget(Label5);
    action->addWidget(Edit5);
    action->addWidget(Bevel1);
    action->addStretch();
    action->addWidget(Button1);
    action->addWidget(lukKnap);
    // One button a row: with the margins' title shown whole, two side by side would be cut.
    action->addWidget(printKnap);
    action->addWidget(visKnap);

    auto* columns = new QHBoxLayout(this);
    columns->addWidget(GroupBox1);
    columns->addWidget(GroupBox2);
    // A group box does not ask for the width of its title; in this machine's fonts it shows whole.
    for (QGroupBox* box : { GroupBox1, GroupBox2 })
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(box->title()) + 24);

    // The left group before the right one; the copies field comes after the buttons.
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, lukKnap);
    setTabOrder(lukKnap, printKnap);
    setTabOrder(printKnap, Edit5);
    // The preview, an addition, comes after the designed order.
    setTabOrder(Edit5, visKnap);
}

void Tprintform::createConnections()
{
    for (QLineEdit* margin : { Edit1, Edit2, Edit3, Edit4 })
        connectGuarded(margin, &QLineEdit::textChanged, this, [this, margin] { filterField(margin, Floatkon); });
    connectGuarded(Edit5, &QLineEdit::textChanged, this, [this] { filterField(Edit5, IntegerKon); });
    connectGuarded(Button1, &QPushButton::clicked, this, &Tprintform::StandardClick);
    connectGuarded(lukKnap, &QPushButton::clicked, this, &Tprintform::lukKnapClick);
    connectGuarded(printKnap, &QPushButton::clicked, this, &Tprintform::printKnapClick);
    connectGuarded(visKnap, &QPushButton::clicked, this, &Tprintform::visKnapClick);
}

void Tprintform::FormCreate(const QString& programdir)
{
    m_optfil = programdir + pathSeparator() + QStringLiteral("Options") + pathSeparator()
        + QStringLiteral("printoptions.txt");
    HentOpt();
}

void Tprintform::setDocumentControl(QTextEdit* control) { m_documentControl = control; }

void Tprintform::setPrinter(Printer& printer) { m_printer = &printer; }

void Tprintform::HentOpt()
{
    try {
        readOptionsFile(m_optfil, 2, [this](int line, int value) {
            if (line == 0)
                move(x(), value);
            else
                move(value, y());
        });
    } catch (...) {
        keepOnScreen(*this);
        throw;
    }
    keepOnScreen(*this);
}

void Tprintform::GemOpt() { writeOptionsFile(m_optfil, { y(), x() }); }

void Tprintform::filterField(QLineEdit* field, QString (*filter)(const QString&))
{
    const QString filtered = filter(field->text());
    // Writing back raises the change once more, which finds the text clean and stops.
    if (filtered != field->text())
        field->setText(filtered);
    field->setCursorPosition(field->text().size());
}

void Tprintform::StandardClick()
{
    QLineEdit* const fields[] = { Edit1, Edit2, Edit3, Edit4, Edit5 };
    for (int i = 0; i < 5; ++i)
        fields[i]->setText(defaultTexts[i]);
}

void Tprintform::lukKnapClick() { close(); }

std::optional<Tprintform::PrintValues> Tprintform::readFields()
{
    for (const QLineEdit* field : { Edit1, Edit2, Edit3, Edit4, Edit5 }) {
        if (field->text().isEmpty()) {
            Dialogs::inform(this, QStringLiteral("Der mangler en værdi, prøv igen!"));
            return std::nullopt;
        }
    }
    PrintValues values;
    values.margins.left = marginValue(Edit1->text());
    values.margins.right = marginValue(Edit2->text());
    values.margins.top = marginValue(Edit3->text());
    values.margins.bottom = marginValue(Edit4->text());
    values.copies = copiesValue(Edit5->text());
    return values;
}

void Tprintform::printKnapClick()
{
    const std::optional<PrintValues> values = readFields();
    if (!values)
        return;
    Q_ASSERT_X(m_documentControl, "Tprintform::printKnapClick", "the document control is wired at start-up");
    if (!m_documentControl)
        return;
    const Margins& m = values->margins;
    PrintRichText(*m_printer, m_documentControl, m.left, m.right, m.top, m.bottom,
        TRichTextMeasurements::rtmCentimetres, values->copies);
    close();
}

PrintPreview* Tprintform::visKnapClick()
{
    const std::optional<PrintValues> values = readFields();
    if (!values || !m_documentControl)
        return nullptr;
    // Printing from the preview is the print button: the fields are read again then.
    auto* preview = new PrintPreview(
        *m_documentControl->document(), m_printer->createDevice(), values->margins,
        [this] { reportErrors([this] { printKnapClick(); }); }, this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->open();
    return preview;
}

} // namespace struktur
