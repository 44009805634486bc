#include "grid/Uflocate.h"

#include "grid/GridDataset.h"
#include "grid/GridScopeGuard.h"
#include "grid/GridToolBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

namespace {

QPointer<TfLocate>& theLocate() {
    static QPointer<TfLocate> dialog;
    return dialog;
}

void freeLocate() {
    delete theLocate().data();
}

/// Only the letters a to z become upper case; every other character stays as it is.
QString foldAsciiLetters(const QString& text) {
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    return folded;
}

/// Splits "mask;keep;blank" at its unescaped semicolons.
QStringList maskSections(const QString& editMask) {
    QStringList sections{QString()};
    for (int i = 0; i < editMask.size(); ++i) {
        const QChar c = editMask[i];
        if (c == u'\\' && i + 1 < editMask.size()) {
            sections.last() += c;
            sections.last() += editMask[++i];
        } else if (c == u';') {
            sections.append(QString());
        } else {
            sections.last() += c;
        }
    }
    return sections;
}

} // namespace

bool locateMatches(const QString& text, const QString& value, bool exact) {
    if (exact) return text == value;
    return foldAsciiLetters(text).startsWith(foldAsciiLetters(value));
}

QString inputMaskOf(const QString& editMask) {
    if (editMask.isEmpty()) return QString();
    const QStringList sections = maskSections(editMask);
    const QString& mask = sections.first();
    const QString qtMeta = QStringLiteral("AaNnXx90DdHhBb#><![]{}\\;");
    QString result;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case u'!':
            break; // leading blanks: Qt keeps the text as typed
        case u'L':
            result += u'A';
            break;
        case u'l':
            result += u'a';
            break;
        case u'A':
            result += u'N';
            break;
        case u'a':
            result += u'n';
            break;
        case u'C':
            result += u'X';
            break;
        case u'c':
            result += u'x';
            break;
        case u'0':
            result += u'9';
            break;
        case u'9':
            result += u'0';
            break;
        case u'#':
            result += u'#';
            break;
        case u'_':
            result += u' ';
            break;
        case u'>':
            result += u'>';
            break;
        case u'<':
            if (i + 1 < mask.size() && mask[i + 1] == u'>') {
                result += u'!';
                ++i;
            } else {
                result += u'<';
            }
            break;
        case u'\\':
            if (i + 1 < mask.size()) {
                const QChar literal = mask[++i];
                if (qtMeta.contains(literal)) result += u'\\';
                result += literal;
            }
            break;
        default:
            if (qtMeta.contains(c)) result += u'\\';
            result += c;
        }
    }
    const QChar blank = sections.size() > 2 && !sections[2].isEmpty() ? sections[2][0] : QChar(u'_');
    return result + u';' + blank;
}

TfLocate& TfLocate::instance() {
    if (!theLocate()) {
        theLocate() = new TfLocate();
        qAddPostRoutine(freeLocate);
    }
    return *theLocate();
}

TfLocate::TfLocate(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("fLocate"));
    setWindowTitle(QStringLiteral("Iskanje"));
    setFixedSize(300, 169);
    setFont(QFont(QStringLiteral("Arial CE"), 8));
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, shade.color(QPalette::Active, QPalette::Highlight));
    setPalette(shade);

    auto* fieldsLabel = new QLabel(QStringLiteral("Iskanje po"), this);
    cbFields = new QComboBox(this);
    cbFields->setObjectName(QStringLiteral("cbFields"));
    cbFields->setEditable(false);
    auto* valueLabel = new QLabel(QStringLiteral("Iskana vrednost"), this);
    meValue = new QLineEdit(this);
    meValue->setObjectName(QStringLiteral("meValue"));
    cbExact = new QCheckBox(QStringLiteral("Išči točno vrednost"), this);
    cbExact->setObjectName(QStringLiteral("cbExact"));
    btnFindFirst = new QPushButton(QStringLiteral("1"), this);
    btnFindFirst->setObjectName(QStringLiteral("btnFindFirst"));
    btnFindNext = new QPushButton(QStringLiteral("..."), this);
    btnFindNext->setObjectName(QStringLiteral("btnFindNext"));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    for (QPushButton* b : {btnFindFirst, btnFindNext}) {
        b->setAutoDefault(false);
        b->setFixedWidth(32);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnFindFirst);
    buttons->addWidget(btnFindNext);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fieldsLabel);
    layout->addWidget(cbFields);
    layout->addWidget(valueLabel);
    layout->addWidget(meValue);
    layout->addWidget(cbExact);
    layout->addLayout(buttons);

    connect(cbFields, &QComboBox::activated, this, [this] { cbFieldsChange(); });
    connect(meValue, &QLineEdit::textEdited, this, [this] {
        btnFindFirst->setEnabled(true);
        btnFindNext->setEnabled(true);
    });
    connect(btnFindFirst, &QPushButton::clicked, this, [this] { findClicked(true); });
    connect(btnFindNext, &QPushButton::clicked, this, [this] { findClicked(false); });
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    meValue->hide();
    cbExact->setEnabled(false);
    btnFindFirst->setEnabled(false);
    btnFindNext->setEnabled(false);
}

void TfLocate::prepare(GridDataset* dataSource) {
    if (dataSource_ == dataSource && dataSource) return;
    dataSource_ = dataSource;
    meValue->hide();
    meValue->setInputMask(QString());
    meValue->clear();
    cbExact->setEnabled(false);
    btnFindFirst->setEnabled(false);
    btnFindNext->setEnabled(false);
    cbFields->clear();
    if (dataSource)
        for (const GridField* field : dataSource->fields())
            cbFields->addItem(field->displayLabel());
    cbFields->setCurrentIndex(-1);
}

bool TfLocate::run(GridDataset* dataSource) {
    prepare(dataSource);
    return exec() == QDialog::Accepted;
}

void TfLocate::cbFieldsChange() {
    meValue->setInputMask(QString());
    meValue->clear();
    const GridField* field = dataSource_ ? dataSource_->field(cbFields->currentIndex()) : nullptr;
    if (!field) return;
    meValue->show();
    meValue->setEnabled(true);
    cbExact->setEnabled(true);
    meValue->setInputMask(inputMaskOf(field->editMask()));
    btnFindFirst->setEnabled(false);
    btnFindNext->setEnabled(false);
}

QString TfLocate::find(bool fromFirst) {
    GridDataset* ds = dataSource_;
    const GridField* field = ds ? ds->field(cbFields->currentIndex()) : nullptr;
    if (!field) return QString();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    GridScopeGuard restoreCursor([] { QApplication::restoreOverrideCursor(); });
    if (!meValue->hasAcceptableInput())
        throw LocateMaskError("Invalid input value. Use escape key to abandon changes");
    const QString value = meValue->text();
    const bool exact = cbExact->isChecked();

    ds->disableControls();
    GridScopeGuard enable([ds] { ds->enableControls(); });
    if (fromFirst)
        ds->first();
    else if (!ds->eof())
        ds->next();
    for (; !ds->eof(); ds->next())
        if (locateMatches(ds->displayText(*field), value, exact)) return QString();
    return QStringLiteral("Ne najdem \"") + value + (exact ? QString() : QStringLiteral("...")) + u'"';
}

void TfLocate::findClicked(bool fromFirst) {
    try {
        const QString message = find(fromFirst);
        if (!message.isEmpty()) QMessageBox::information(this, windowTitle(), message);
    } catch (const std::exception& error) {
        GridToolBar::reportError(error);
    }
}
