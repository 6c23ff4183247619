#pragma once

#include "controls/fieldcontrol.h"

#include <QPointer>
#include <QVariant>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

// What a decode or a look-up returns to the field: whether the code exists, the text for the
// read-out, and the id of the row found (id look-up fields store it).
struct DecodeResult
{
    bool found = false;
    QString description;
    QVariant id;
    // Every column of the row found, by name, for a field that reads more than its description.
    QVariantMap columns;
};

// Text field of the maker's kind, and the base of the code, number, account and id look-up
// fields. The form answers its events: StartDecode and StartLookup ask for the statement and
// settings of the decode and of the look-up list, Validate may refuse the entered code (the
// field then keeps the focus), AfterItem reports an accepted entry.
//
// The decoding and the look-up window belong to the host; the host installs them as a decoder
// and a look-up picker. Without them the field only raises its events.
class TextField : public FieldControl
{
    Q_OBJECT
    Q_PROPERTY(int maxchar READ maxChar WRITE setMaxChar)
    Q_PROPERTY(int maxwidth READ maxWidth WRITE setMaxWidth)
    Q_PROPERTY(bool upperCase READ isUpperCase WRITE setUpperCase)
    Q_PROPERTY(bool isLookup READ isLookup WRITE setLookup)
    Q_PROPERTY(bool isDecode READ isDecode WRITE setDecode)
    Q_PROPERTY(QString txtGestione READ txtGestione WRITE setTxtGestione)
    Q_PROPERTY(bool found READ isFound WRITE setFound)
    Q_PROPERTY(QVariant IDLookup READ idLookup WRITE setIdLookup)

public:
    using Decoder = std::function<DecodeResult(const QString &code, const QString &statement,
                                               const QVariant &targets, const QString &connection)>;
    using LookupPicker = std::function<bool(const QString &statement, const QVariant &columns,
                                            const QString &title, const QString &connection,
                                            QString *pickedCode)>;

    explicit TextField(QWidget *parent = nullptr);
    ~TextField() override;

    QString Text() const override;
    void setText(const QString &text) override;

    int maxChar() const;
    void setMaxChar(int maxChar);
    int maxWidth() const;
    void setMaxWidth(int characters);
    bool isUpperCase() const;
    void setUpperCase(bool upper);  // displayformat "Maiuscolo"
    bool isLookup() const;
    void setLookup(bool lookup);
    bool isDecode() const;
    void setDecode(bool decode);
    QString txtGestione() const;
    void setTxtGestione(const QString &listName);

    // Result of the last decode: the typed code exists.
    bool isFound() const;
    void setFound(bool found);
    QVariant idLookup() const;
    void setIdLookup(const QVariant &id);

    // The read-out label that shows the decoded description.
    void setDescriptionLabel(QLabel *label);
    QLabel *descriptionLabel() const;

    void setDecoder(Decoder decoder);
    void setLookupPicker(LookupPicker picker);

    QLineEdit *lineEdit() const;
    // The user typed a text the field has not yet accepted (it reaches the row on commit).
    bool hasUncommittedText() const;
    void SetFocus();

    // Runs decode and validation of the text on display as when the user leaves the field.
    // False when the entry was refused (the field then has the focus again).
    Q_INVOKABLE bool commit();
    // Opens the look-up list as the look-up button does.
    void lookup();

signals:
    void AfterItem(double value);
    void StartDecode(short *handled, QString *statement, QVariant *targets, QString *connection);
    void StartLookup(short *handled, QString *statement, QVariant *columns, QString *title,
                     QString *connection);
    void Validate(bool *cancel);
    void Change();
    void GotFocus();
    void LostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Applied to every text the user types; code fields restrict it to digits.
    virtual QString normalised(const QString &text) const;
    // Called after a successful decode, before validation.
    virtual void decoded(const DecodeResult &result);
    // The entry chosen in the look-up list (the value of its return column) is typed in.
    virtual void takePicked(const QString &picked);
    const Decoder &decoder() const;
    // Shows a decode's result: the read-out, the found flag, then decoded().
    void showDecoded(const DecodeResult &result);

public:
    // Reads the description of the code now shown (StartDecode, then the decoder).
    virtual void decode();

private:
    // Brings the tab page that holds the field to the front.
    void revealInTabs();
    // A refused field keeps the focus, its text selected for the user to type over.
    void keepFocus();
    void updateWidth();

    QLineEdit *m_edit;
    QToolButton *m_lookupButton;
    QPointer<QLabel> m_description;
    Decoder m_decoder;
    LookupPicker m_picker;
    bool m_lookingUp = false;
    bool m_refusalShown = false;   // refused a moment ago, the focus not yet back
    QString m_refusedText;
    QString m_committed;
    QString m_txtGestione;
    QVariant m_idLookup;
    int m_maxWidth = 0;
    bool m_upper = false;
    bool m_decode = false;
    bool m_found = false;
    bool m_committing = false;
};
