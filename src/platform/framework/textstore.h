#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QIODevice;

// Text id -> Italian text. The host's texts are loaded first, then the module's own, so a
// module text with the same id as a host text replaces it.
class TextStore
{
public:
    TextStore();
    ~TextStore();

    // Reads one text file: UTF-8 lines "ID<TAB>TEXT", '#' comment lines and blank lines skipped,
    // escapes \n \t \\ in TEXT. Good lines are kept even when others are malformed; the
    // malformed ones are described in *error (with their line numbers) and the result is false.
    bool load(QIODevice *device, QString *error = nullptr);
    bool loadFile(const QString &path, QString *error = nullptr);

    void insert(int id, const QString &text);
    bool contains(int id) const;
    int size() const;

    // The text of an id. A missing id yields the id itself as text (something the user can
    // report) and *ok false.
    QString text(int id, bool *ok = nullptr) const;
    QString text(int id, const QStringList &params, bool *ok = nullptr) const;

    // Replaces "%1".."%4" by the parameters in one pass, so a parameter that itself contains
    // "%2" is not substituted again. A placeholder without a parameter becomes empty.
    static QString substitute(const QString &text, const QStringList &params);

private:
    QHash<int, QString> m_texts;
};
