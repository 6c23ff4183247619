#include "framework/textstore.h"

#include <QFile>
#include <QIODevice>

namespace {

QString unescape(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != u'\\' || i + 1 == raw.size()) {
            out.append(c);
            continue;
        }
        const QChar next = raw.at(++i);
        if (next == u'n')
            out.append(u'\n');
        else if (next == u't')
            out.append(u'\t');
        else if (next == u'\\')
            out.append(u'\\');
        else
            out.append(c).append(next);  // unknown escape: kept as written
    }
    return out;
}

} // namespace

TextStore::TextStore() = default;
TextStore::~TextStore() = default;

bool TextStore::load(QIODevice *device, QString *error)
{
    if (!device || (!device->isOpen() && !device->open(QIODevice::ReadOnly | QIODevice::Text))) {
        if (error)
            *error = device ? device->errorString() : QStringLiteral("no device");
        return false;
    }
    QStringList problems;
    int lineNumber = 0;
    while (!device->atEnd()) {
        ++lineNumber;
        QString line = QString::fromUtf8(device->readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool isNumber = false;
        const int id = tab > 0 ? QStringView(line).left(tab).trimmed().toInt(&isNumber) : 0;
        if (!isNumber) {
            problems << QStringLiteral("line %1: expected ID<TAB>TEXT").arg(lineNumber);
            continue;
        }
        m_texts.insert(id, unescape(QStringView(line).mid(tab + 1)));
    }
    if (error)
        *error = problems.join(u'\n');
    return problems.isEmpty();
}

bool TextStore::loadFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QString problems;
    const bool ok = load(&file, &problems);
    if (error)
        *error = ok ? QString() : path + QStringLiteral(": ") + problems;
    return ok;
}

void TextStore::insert(int id, const QString &text)
{
    m_texts.insert(id, text);
}

bool TextStore::contains(int id) const
{
    return m_texts.contains(id);
}

int TextStore::size() const
{
    return int(m_texts.size());
}

QString TextStore::text(int id, bool *ok) const
{
    const auto it = m_texts.constFind(id);
    if (ok)
        *ok = it != m_texts.constEnd();
    return it != m_texts.constEnd() ? *it : QString::number(id);
}

QString TextStore::text(int id, const QStringList &params, bool *ok) const
{
    bool found = false;
    const QString raw = text(id, &found);
    if (ok)
        *ok = found;
    return found ? substitute(raw, params) : raw;
}

QString TextStore::substitute(const QString &text, const QStringList &params)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'%' && i + 1 < text.size() && text.at(i + 1) >= u'1' && text.at(i + 1) <= u'4') {
            const int index = text.at(i + 1).unicode() - u'1';
            if (index < params.size())
                out.append(params.at(index));
            ++i;
            continue;
        }
        out.append(c);
    }
    return out;
}
