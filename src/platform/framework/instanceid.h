#pragma once

#include <QString>

// Per-object identifier used in the trace lines: generated on first use, then fixed for the
// object's life.
class InstanceId
{
public:
    // 32 upper-case hexadecimal digits, no braces or dashes; empty when no identifier
    // could be made.
    static QString GeneraGuid();

    QString value();
    bool isGenerated() const { return !m_value.isEmpty(); }

private:
    QString m_value;
};
