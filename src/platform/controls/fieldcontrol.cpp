#include "controls/fieldcontrol.h"

FieldControl::FieldControl(QWidget *parent)
    : QWidget(parent)
{
}

FieldControl::~FieldControl() = default;

QString FieldControl::caption() const { return m_caption; }

void FieldControl::setCaption(const QString &caption)
{
    m_caption = caption;
    captionChanged();
}

QString FieldControl::tag() const { return m_tag; }
void FieldControl::setTag(const QString &tag) { m_tag = tag; }

QString FieldControl::dataField() const { return m_isDbField ? m_dataField : QString(); }
void FieldControl::setDataField(const QString &column) { m_dataField = column; }

bool FieldControl::isDbField() const { return m_isDbField; }
void FieldControl::setIsDbField(bool bound) { m_isDbField = bound; }

bool FieldControl::isRequired() const { return m_required; }
void FieldControl::setRequired(bool required) { m_required = required; }

QString FieldControl::defaultValue() const { return m_default; }
void FieldControl::setDefaultValue(const QString &value) { m_default = value; }
