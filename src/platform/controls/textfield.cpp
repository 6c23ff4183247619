#include "controls/textfield.h"

#include "ado/connection.h"
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace {
// The refused field taking the focus back. The field it takes the focus from does not
// validate on that focus change, or two refused fields would take it from each other forever.
QPointer<TextField> refusedField;
} // namespace

TextField::TextField(QWidget *parent)
    : FieldControl(parent)
    , m_edit(new QLineEdit(this))
    , m_lookupButton(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addWidget(m_lookupButton);
    m_lookupButton->setText(QStringLiteral("..."));
    m_lookupButton->setFocusPolicy(Qt::NoFocus);
    m_lookupButton->setVisible(false);
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);

    // The row hears of a typed code only once it is accepted (commit); a refused code never
    // reaches it.
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &typed) {
        const QString wanted = normalised(typed);
        if (wanted != typed) {
            const int cursor = m_edit->cursorPosition();
            m_edit->setText(wanted);
            m_edit->setCursorPosition(qMin(cursor, int(wanted.size())));
        }
        emit Change();
    });
    connect(m_edit, &QLineEdit::returnPressed, this, &TextField::commit);
    connect(m_lookupButton, &QToolButton::clicked, this, &TextField::lookup);
}

TextField::~TextField() = default;

QString TextField::Text() const { return m_edit->text(); }

void TextField::setText(const QString &text)
{
    const QString shown = m_upper ? text.toUpper() : text;
    m_committed = shown.left(m_edit->maxLength());
    m_edit->setText(shown);
    emit TextChanged(m_committed);
    // A code put in by the program (a record shown) gets its description as a typed one does.
    if (m_decode)
        decode();
}

int TextField::maxChar() const { return m_edit->maxLength(); }

void TextField::setMaxChar(int maxChar)
{
    m_edit->setMaxLength(maxChar > 0 ? maxChar : 32767);
}

int TextField::maxWidth() const { return m_maxWidth; }

void TextField::setMaxWidth(int characters)
{
    m_maxWidth = characters;
    updateWidth();
}

bool TextField::isUpperCase() const { return m_upper; }

void TextField::setUpperCase(bool upper)
{
    m_upper = upper;
    if (upper)
        m_edit->setText(m_edit->text().toUpper());
}

bool TextField::isLookup() const { return !m_lookupButton->isHidden(); }

void TextField::setLookup(bool lookup)
{
    m_lookupButton->setVisible(lookup);
    updateWidth();
}

bool TextField::isDecode() const { return m_decode; }
void TextField::setDecode(bool decode) { m_decode = decode; }
QString TextField::txtGestione() const { return m_txtGestione; }
void TextField::setTxtGestione(const QString &listName) { m_txtGestione = listName; }
bool TextField::isFound() const { return m_found; }
void TextField::setFound(bool found) { m_found = found; }
QVariant TextField::idLookup() const { return m_idLookup; }
void TextField::setIdLookup(const QVariant &id) { m_idLookup = id; }
void TextField::setDescriptionLabel(QLabel *label) { m_description = label; }
QLabel *TextField::descriptionLabel() const { return m_description; }
void TextField::setDecoder(Decoder decoder) { m_decoder = std::move(decoder); }
void TextField::setLookupPicker(LookupPicker picker) { m_picker = std::move(picker); }
QLineEdit *TextField::lineEdit() const { return m_edit; }
bool TextField::hasUncommittedText() const { return m_edit->text() != m_committed; }

void TextField::SetFocus()
{
    m_edit->setFocus(Qt::OtherFocusReason);
}

bool TextField::commit()
{
    if (m_committing || m_edit->text() == m_committed)
        return true;
    const ado::ReadScope action;
    m_committing = true;
    if (m_decode)
        decode();
    bool cancel = false;
    emit Validate(&cancel);
    if (cancel) {
        m_committing = false;
        m_refusedText = m_edit->text();
        keepFocus();
        // Once that action is done the field is on show with the focus, for the user to correct.
        m_refusalShown = true;
        QTimer::singleShot(0, this, [this] {
            m_refusalShown = false;
            if (m_edit->text() == m_refusedText && m_edit->text() != m_committed && !m_edit->hasFocus())
                keepFocus();
        });
        return false;
    }
    m_committed = m_edit->text();
    m_committing = false;
    emit TextChanged(m_committed);
    emit AfterItem(m_committed.toDouble());
    return true;
}

void TextField::keepFocus()
{
    const QPointer<TextField> previous = refusedField;
    refusedField = this;
    revealInTabs();
    SetFocus();
    m_edit->selectAll();
    refusedField = previous;
}

// A refused field stays where the user can correct it: when it lies on a tab page behind
// (the user switched tabs as he left it), that page comes to the front.
void TextField::revealInTabs()
{
    QWidget *child = this;
    for (QWidget *parent = parentWidget(); parent; child = parent, parent = parent->parentWidget()) {
        auto *tabs = qobject_cast<QTabWidget *>(parent->parentWidget());
        if (!qobject_cast<QStackedWidget *>(parent) || !tabs)
            continue;
        const int index = tabs->indexOf(child);
        if (index >= 0 && tabs->isTabEnabled(index))
            tabs->setCurrentIndex(index);
    }
}

void TextField::decode()
{
    short handled = 0;
    QString statement;
    QVariant targets;
    QString connection;
    emit StartDecode(&handled, &statement, &targets, &connection);
    DecodeResult result;
    if (!m_edit->text().isEmpty() && m_decoder && !statement.isEmpty())
        result = m_decoder(m_edit->text(), statement, targets, connection);
    showDecoded(result);
}

void TextField::showDecoded(const DecodeResult &result)
{
    m_found = result.found;
    if (m_description) {
        // The read-out keeps the width of its column; a description longer than that is read
        // whole in its tool tip.
        m_description->setText(result.found ? result.description : QString());
        m_description->setToolTip(m_description->text());
    }
    decoded(result);
}

void TextField::decoded(const DecodeResult &result)
{
    m_idLookup = result.id;
}

void TextField::lookup()
{
    if (!isEnabled())
        return;
    const ado::ReadScope action;
    // The list takes the focus from the field: the code typed so far is not validated for
    // that, the user is about to replace it.
    const QScopedValueRollback<bool> looking(m_lookingUp, true);
    short handled = 0;
    QString statement;
    QVariant columns;
    QString title;
    QString connection;
    emit StartLookup(&handled, &statement, &columns, &title, &connection);
    QString picked;
    if (m_picker && m_picker(statement, columns, title, connection, &picked))
        takePicked(picked);
}

void TextField::takePicked(const QString &picked)
{
    m_edit->setText(normalised(picked));
    emit Change();
    commit();
}

const TextField::Decoder &TextField::decoder() const { return m_decoder; }

QString TextField::normalised(const QString &text) const
{
    return m_upper ? text.toUpper() : text;
}

bool TextField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        switch (event->type()) {
        case QEvent::FocusIn:
            emit GotFocus();
            break;
        case QEvent::FocusOut:
            emit LostFocus();
            // The action that left the field (a tab switched, a page hidden) may take the focus
            // once more while it ends: the code the user was just told about keeps the focus
            // without telling him a second time.
            if ((refusedField && refusedField != this) || m_lookingUp)
                break;
            if (m_refusalShown && m_edit->text() == m_refusedText)
                keepFocus();
            else
                commit();
            break;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_F3 && isLookup()) {
                lookup();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return FieldControl::eventFilter(watched, event);
}

void TextField::updateWidth()
{
    if (m_maxWidth <= 0) {
        m_edit->setMaximumWidth(QWIDGETSIZE_MAX);
        return;
    }
    const QFontMetrics metrics(m_edit->font());
    const int width = metrics.horizontalAdvance(QLatin1Char('W')) * m_maxWidth * 3 / 4 + 12;
    m_edit->setFixedWidth(qMax(width, 28));
}
