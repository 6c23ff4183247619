#pragma once

#include <QString>
#include <QWidget>

// Common part of every data-entry control: the design properties the form sets on all of them
// and the value the data frame binds. The value is text, as the form compares it ("0"/"1" of a
// check box, the stored code of a combo entry, the typed code of a code field).
class FieldControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setText NOTIFY TextChanged USER true)
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QString tag READ tag WRITE setTag)
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool isDbField READ isDbField WRITE setIsDbField)
    Q_PROPERTY(bool required READ isRequired WRITE setRequired)
    Q_PROPERTY(QString defaultValue READ defaultValue WRITE setDefaultValue)

public:
    explicit FieldControl(QWidget *parent = nullptr);
    ~FieldControl() override;

    virtual QString Text() const = 0;
    virtual void setText(const QString &text) = 0;

    // The caption names the field in messages; controls that show it on screen override
    // captionChanged().
    QString caption() const;
    void setCaption(const QString &caption);
    QString tag() const;
    void setTag(const QString &tag);

    // Bound column; empty (or isDbField false) for controls the form fills by code.
    QString dataField() const;
    void setDataField(const QString &column);
    bool isDbField() const;
    void setIsDbField(bool bound);

    // Required-entry flag (obbligatorio / canrequired): the rules switch it with the enabling.
    bool isRequired() const;
    void setRequired(bool required);

    // Value of a new row.
    QString defaultValue() const;
    void setDefaultValue(const QString &value);

signals:
    void TextChanged(const QString &text);

protected:
    virtual void captionChanged() {}

private:
    QString m_caption;
    QString m_tag;
    QString m_dataField;
    QString m_default;
    bool m_isDbField = true;
    bool m_required = false;
};
