#include "ado/sqlrewriter.h"

#include "ado/adoerror.h"

#include <QList>
#include <algorithm>
#include <array>
#include <QSet>

namespace ado {

namespace {

enum class TokenKind { Space, Comment, Word, Number, String, QuotedName, Punct };

struct Token
{
    TokenKind kind;
    QString text;
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'#';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'$';
}

// The tokens' texts share the statement's buffer (the Rewriter keeps the statement alive while
// they exist): a statement of a few hundred characters would otherwise cost an allocation for
// every name, blank and comma, more than SQLite takes to run it.
// *stripped becomes true when an N'..' literal lost its N.
QList<Token> tokenize(const QString &sql, bool *stripped)
{
    QList<Token> tokens;
    tokens.reserve(sql.size() / 4);
    const qsizetype n = sql.size();
    const auto piece = [&sql](qsizetype start, qsizetype length) {
        return QString::fromRawData(sql.constData() + start, length);
    };
    qsizetype i = 0;
    auto unterminated = [&](const char *what) {
        throw AdoError(AdoError::Unsupported,
                       QStringLiteral("Unterminated %1 in statement").arg(QLatin1String(what)), sql);
    };
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            tokens.append({TokenKind::Space, piece(start, i - start)});
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
            tokens.append({TokenKind::Comment, piece(start, i - start)});
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            if (end < 0)
                unterminated("comment");
            i = end + 2;
            tokens.append({TokenKind::Comment, piece(start, i - start)});
        } else if (c == u'\'' || ((c == u'N' || c == u'n') && i + 1 < n && sql.at(i + 1) == u'\'')) {
            const bool national = c != u'\'';
            i += national ? 2 : 1;
            for (;;) {
                if (i >= n)
                    unterminated("string literal");
                if (sql.at(i) == u'\'') {
                    if (i + 1 < n && sql.at(i + 1) == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            // SQLite texts are Unicode already: N'..' is written as '..'.
            *stripped = *stripped || national;
            tokens.append({TokenKind::String, piece(national ? start + 1 : start, national ? i - start - 1 : i - start)});
        } else if (c == u'"' || c == u'[') {
            const QChar close = c == u'"' ? u'"' : u']';
            const qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0)
                unterminated("quoted name");
            i = end + 1;
            // SQLite reads "name" as SQL Server does; [name] it also accepts.
            tokens.append({TokenKind::QuotedName, piece(start, i - start)});
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isLetterOrNumber() || sql.at(i) == u'.'))
                ++i;
            tokens.append({TokenKind::Number, piece(start, i - start)});
        } else if (isWordStart(c) || c == u'@') {
            ++i;
            while (i < n && (isWordPart(sql.at(i)) || sql.at(i) == u'@'))
                ++i;
            tokens.append({TokenKind::Word, piece(start, i - start)});
        } else {
            const QChar d = i + 1 < n ? sql.at(i + 1) : QChar();
            const bool pair = (d == u'=' && (c == u'<' || c == u'>' || c == u'!')) || (c == u'<' && d == u'>')
                || (c == u'|' && d == u'|');
            i += pair ? 2 : 1;
            tokens.append({TokenKind::Punct, piece(start, i - start)});
        }
    }
    return tokens;
}

// The length is compared first: nearly every word of a statement is a column name that differs
// from the keyword already in length.
// Keywords and punctuation are ASCII, compared letter by letter: every pass asks this of every
// token, and a call into the general string comparison costs more than the whole test.
template <qsizetype N>
bool isWord(const Token &t, const char (&word)[N])
{
    if (t.kind != TokenKind::Word || t.text.size() != N - 1)
        return false;
    for (qsizetype i = 0; i < N - 1; ++i) {
        const char16_t c = t.text.at(i).unicode();
        if ((c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c) != char16_t(word[i]))
            return false;
    }
    return true;
}

template <qsizetype N>
bool isPunct(const Token &t, const char (&p)[N])
{
    if (t.kind != TokenKind::Punct || t.text.size() != N - 1)
        return false;
    for (qsizetype i = 0; i < N - 1; ++i) {
        if (t.text.at(i).unicode() != char16_t(p[i]))
            return false;
    }
    return true;
}

bool isBlank(const Token &t)
{
    return t.kind == TokenKind::Space || t.kind == TokenKind::Comment;
}

// The words a pass acts on, named once: the passes test tokens against them and the shortcut
// below leaves every statement holding one of them to the passes.
constexpr char kTop[] = "TOP";
constexpr char kNolock[] = "NOLOCK";
constexpr char kIsNull[] = "ISNULL";
constexpr char kGetDate[] = "GETDATE";
constexpr char kInsert[] = "INSERT";
constexpr char kSelect[] = "SELECT";

// Constructs that SQLite lacks or runs differently, refused by name rather than passed on.
const QSet<QString> &refusedKeywords()
{
    static const QSet<QString> words = {
        QStringLiteral("APPLY"),   QStringLiteral("MERGE"),   QStringLiteral("OUTPUT"),
        QStringLiteral("PIVOT"),   QStringLiteral("UNPIVOT"), QStringLiteral("EXEC"),
        QStringLiteral("EXECUTE"), QStringLiteral("DECLARE"), QStringLiteral("IDENTITY_INSERT"),
        QStringLiteral("PERCENT"), QStringLiteral("TIES"),
    };
    return words;
}

// T-SQL functions with no SQLite function of the same name and meaning.
const QSet<QString> &refusedFunctions()
{
    static const QSet<QString> words = {
        QStringLiteral("CONVERT"),   QStringLiteral("DATEADD"),    QStringLiteral("DATEDIFF"),
        QStringLiteral("DATEPART"),  QStringLiteral("CHARINDEX"),  QStringLiteral("LEN"),
        QStringLiteral("NEWID"),     QStringLiteral("STUFF"),      QStringLiteral("ISNUMERIC"),
        QStringLiteral("DATALENGTH"), QStringLiteral("GETUTCDATE"), QStringLiteral("SCOPE_IDENTITY"),
        QStringLiteral("LEFT"),      QStringLiteral("RIGHT"),      QStringLiteral("SPACE"),
    };
    return words;
}

// The words that send a statement to the passes, bucketed by length, upper case: one table
// built from the refused ones and the words the passes act on, so the two cannot drift apart.
struct ShortcutWords
{
    struct Bucket
    {
        quint32 initials = 0;  // bit of each first letter present, so most words are passed on one test
        QList<QString> always;  // whatever follows them
        QList<QString> called;  // only before '(' (refused functions; LEFT JOIN is fine)
    };
    QList<Bucket> byLength;

    ShortcutWords()
    {
        const auto add = [this](const QString &word, bool onlyCalled) {
            if (byLength.size() <= word.size())
                byLength.resize(word.size() + 1);
            Bucket &b = byLength[word.size()];
            b.initials |= 1u << (word.at(0).unicode() - u'A');
            (onlyCalled ? b.called : b.always).append(word);
        };
        for (const QString &w : refusedKeywords())
            add(w, false);
        for (const QString &w : refusedFunctions())
            add(w, true);
        // SELECT only counts after '(' of an INSERT: the scan itself tracks that.
        for (const char *w : {kTop, kNolock, kIsNull, kGetDate, kInsert})
            add(QString::fromLatin1(w), false);
    }
};

const ShortcutWords &shortcutWords()
{
    static const ShortcutWords words;
    return words;
}

// How the tokenizer reads each ASCII character, as bits: one table look instead of a chain of
// comparisons for every character of every statement.
enum CharClass : quint8 { Blank = 1, WordStart = 2, WordPart = 4, NumberStart = 8, NumberPart = 16 };

constexpr std::array<quint8, 128> charClasses = [] {
    std::array<quint8, 128> classes{};
    for (int c = 0; c < 128; ++c) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool digit = c >= '0' && c <= '9';
        // What QChar::isSpace() answers below 0x80.
        if (c == ' ' || (c >= '\t' && c <= '\r'))
            classes[c] |= Blank;
        if (letter || c == '_' || c == '#')
            classes[c] |= WordStart;
        if (letter || digit || c == '_' || c == '#' || c == '$')
            classes[c] |= WordPart;
        if (digit)
            classes[c] |= NumberStart;
        if (letter || digit || c == '.')
            classes[c] |= NumberPart;
    }
    return classes;
}();

// Characters above ASCII have no class: the shortcut leaves them to the tokenizer.
bool is(char16_t c, quint8 charClass)
{
    return c < 0x80 && (charClasses[c] & charClass);
}

// upper is upper case ASCII of the same length as the word.
template <typename Upper>
bool sameWord(const char16_t *word, const Upper &upper)
{
    for (qsizetype k = 0; k < upper.size(); ++k) {
        const char16_t c = word[k];
        if ((c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c) != upper.at(k).unicode())
            return false;
    }
    return true;
}

// True when the passes would give the statement back unchanged and refuse nothing. One look
// over the characters, reading them as the tokenizer does, with no allocation: anything the
// passes could act on (N'..', a quoted name, '+', '@', a comment, a word of the table) answers
// false and leaves the statement to them, as does any character above ASCII, whose letters,
// blanks and upper case the tokenizer reads through Unicode.
bool needsNothing(QStringView sql)
{
    const ShortcutWords &words = shortcutWords();
    const char16_t *s = sql.utf16();
    const qsizetype n = sql.size();
    bool insert = false;
    bool afterOpen = false;  // the last thing but blanks was '('
    bool subSelect = false;  // "( SELECT", which an INSERT would unwrap
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = s[i];
        if (c >= 0x80)
            return false;
        if (is(c, Blank)) {
            ++i;
            continue;
        }
        const bool open = c == u'(';
        if (c == u'\'') {
            // Skipped as the tokenizer skips it; an unterminated one is its error to raise.
            for (++i;; ++i) {
                if (i >= n)
                    return false;
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
            }
        } else if ((c == u'N' || c == u'n') && i + 1 < n && s[i + 1] == u'\'') {
            return false;
        } else if (is(c, WordStart)) {
            const qsizetype start = i;
            ++i;
            while (i < n && is(s[i], WordPart))
                ++i;
            // A word going on with '@' or a Unicode letter stops here; the next round answers false.
            const qsizetype length = i - start;
            const char16_t initial = c >= u'a' ? c - (u'a' - u'A') : c;
            if (afterOpen && length == qsizetype(sizeof kSelect) - 1 && sameWord(s + start, QLatin1StringView(kSelect)))
                subSelect = true;
            if (length < words.byLength.size() && initial >= u'A' && initial <= u'Z'
                && (words.byLength.at(length).initials & (1u << (initial - u'A')))) {
                const ShortcutWords::Bucket &b = words.byLength.at(length);
                for (const QString &w : b.always) {
                    if (sameWord(s + start, w)) {
                        if (w != QLatin1StringView(kInsert))
                            return false;
                        insert = true;
                    }
                }
                for (const QString &w : b.called) {
                    if (sameWord(s + start, w)) {
                        // A comment before the '(' answers false when the scan reaches it.
                        qsizetype k = i;
                        while (k < n && is(s[k], Blank))
                            ++k;
                        if (k < n && s[k] == u'(')
                            return false;
                    }
                }
            }
        } else if (is(c, NumberStart) || (c == u'.' && i + 1 < n && is(s[i + 1], NumberStart))) {
            ++i;
            while (i < n && is(s[i], NumberPart))
                ++i;
        } else if (c == u'@' || c == u'"' || c == u'[' || c == u'+'
                   || (c == u'-' && i + 1 < n && s[i + 1] == u'-')
                   || (c == u'/' && i + 1 < n && s[i + 1] == u'*')) {
            return false;
        } else {
            ++i;
        }
        afterOpen = open;
    }
    return !(insert && subSelect);
}

class Rewriter
{
public:
    explicit Rewriter(const QString &sql) : m_sql(sql), m_tokens(tokenize(m_sql, &m_changed)) {}

    QString run()
    {
        refuseUnknown();
        dropNolock();
        renameFunctions();
        unwrapInsertSelect();
        moveTop();
        concatenation();
        // Most statements need nothing rewritten: the tokens would only put the text back together.
        if (!m_changed)
            return m_sql;
        QString out;
        out.reserve(m_sql.size() + 16);
        for (const Token &t : std::as_const(m_tokens))
            out.append(t.text.constData(), t.text.size());
        return out;
    }

private:
    [[noreturn]] void refuse(const QString &construct) const
    {
        throw AdoError(AdoError::Unsupported,
                       QStringLiteral("The embedded database cannot run %1").arg(construct), m_sql);
    }

    // Index of the next token that is not blank, or -1.
    qsizetype next(qsizetype i) const
    {
        for (++i; i < m_tokens.size(); ++i) {
            if (!isBlank(m_tokens.at(i)))
                return i;
        }
        return -1;
    }

    qsizetype previous(qsizetype i) const
    {
        for (--i; i >= 0; --i) {
            if (!isBlank(m_tokens.at(i)))
                return i;
        }
        return -1;
    }

    // Index of the parenthesis closing the one at open, or -1.
    qsizetype matching(qsizetype open) const
    {
        int depth = 0;
        for (qsizetype i = open; i < m_tokens.size(); ++i) {
            if (isPunct(m_tokens.at(i), "("))
                ++depth;
            else if (isPunct(m_tokens.at(i), ")") && --depth == 0)
                return i;
        }
        return -1;
    }

    void refuseUnknown() const
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens.at(i);
            if (t.kind != TokenKind::Word)
                continue;
            if (t.text.startsWith(u'@'))
                refuse(QStringLiteral("the variable %1").arg(t.text));
            // No refused word is longer than this; the module's column names mostly are.
            if (t.text.size() > 15)
                continue;
            const bool lower = std::any_of(t.text.cbegin(), t.text.cend(), [](QChar c) { return c.isLower(); });
            const QString upper = lower ? t.text.toUpper() : t.text;
            if (refusedKeywords().contains(upper))
                refuse(upper);
            const qsizetype open = next(i);
            if (open >= 0 && isPunct(m_tokens.at(open), "(") && refusedFunctions().contains(upper))
                refuse(upper + QStringLiteral("()"));
        }
    }

    // Every edit of the tokens goes through these three, so the text is rebuilt only when one ran.
    void erase(qsizetype from, qsizetype to)  // inclusive
    {
        m_tokens.remove(from, to - from + 1);
        m_changed = true;
    }

    void insert(qsizetype at, const Token &token)
    {
        m_tokens.insert(at, token);
        m_changed = true;
    }

    void replace(qsizetype at, const Token &token)
    {
        m_tokens[at] = token;
        m_changed = true;
    }

    // Table hints: SQLite has no lock hints and reads a consistent snapshot anyway.
    void dropNolock()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (!isWord(m_tokens.at(i), "WITH"))
                continue;
            const qsizetype open = next(i);
            if (open < 0 || !isPunct(m_tokens.at(open), "("))
                continue;
            const qsizetype hint = next(open);
            if (hint < 0 || !isWord(m_tokens.at(hint), kNolock))
                continue;
            const qsizetype close = next(hint);
            if (close < 0 || !isPunct(m_tokens.at(close), ")"))
                refuse(QStringLiteral("table hints other than NOLOCK"));
            // Keep one blank so "T WITH (NOLOCK) WHERE" does not glue T and WHERE.
            erase(i, close);
            insert(i, {TokenKind::Space, QStringLiteral(" ")});
        }
    }

    void renameFunctions()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens.at(i);
            const qsizetype open = next(i);
            const bool call = open >= 0 && isPunct(m_tokens.at(open), "(");
            if (isWord(t, kIsNull) && call) {
                replace(i, {t.kind, QStringLiteral("IFNULL")});
            } else if (isWord(t, kGetDate) && call) {
                const qsizetype close = next(open);
                if (close < 0 || !isPunct(m_tokens.at(close), ")"))
                    refuse(QStringLiteral("GETDATE with arguments"));
                erase(i + 1, close);
                replace(i, {TokenKind::Word, QStringLiteral("CURRENT_TIMESTAMP")});
            }
        }
    }

    // INSERT INTO t (cols) (SELECT ...): SQLite wants the SELECT without parentheses.
    void unwrapInsertSelect()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (!isWord(m_tokens.at(i), kInsert))
                continue;
            qsizetype k = next(i);
            if (k >= 0 && isWord(m_tokens.at(k), "INTO"))
                k = next(k);
            if (k < 0)
                continue;
            k = next(k);  // past the table name
            if (k >= 0 && isPunct(m_tokens.at(k), "(")) {
                const qsizetype afterColumns = matching(k);
                if (afterColumns < 0)
                    return;
                k = next(afterColumns);
            }
            if (k < 0 || !isPunct(m_tokens.at(k), "("))
                continue;
            const qsizetype select = next(k);
            if (select < 0 || !isWord(m_tokens.at(select), kSelect))
                continue;
            const qsizetype close = matching(k);
            if (close < 0)
                return;
            replace(close, {TokenKind::Space, QString()});
            replace(k, {TokenKind::Space, QString()});
        }
    }

    // SELECT [DISTINCT] TOP n / TOP (n): the limit moves to the end of the same SELECT, that
    // is before the parenthesis that closes it, before ';', or at the end of the text.
    void moveTop()
    {
        struct Pending { int depth; QString limit; };
        QList<Pending> pending;
        int depth = 0;
        auto flush = [&](qsizetype at, int closingDepth) {
            QString text;
            while (!pending.isEmpty() && pending.last().depth >= closingDepth) {
                text += QStringLiteral(" LIMIT ") + pending.takeLast().limit;
                if (!pending.isEmpty() && pending.last().depth >= closingDepth)
                    refuse(QStringLiteral("two TOP clauses in one query"));
            }
            if (!text.isEmpty())
                insert(at, {TokenKind::Punct, text});
            return !text.isEmpty();
        };
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            const Token &t = m_tokens.at(i);
            if (isPunct(t, "(")) {
                ++depth;
            } else if (isPunct(t, ")")) {
                if (flush(i, depth))
                    ++i;
                --depth;
            } else if (isPunct(t, ";")) {
                if (flush(i, depth))
                    ++i;
            } else if (isWord(t, "UNION") || isWord(t, "EXCEPT") || isWord(t, "INTERSECT")) {
                for (const Pending &p : std::as_const(pending)) {
                    if (p.depth == depth)
                        refuse(QStringLiteral("TOP in a compound SELECT"));
                }
            } else if (isWord(t, kTop)) {
                const qsizetype before = previous(i);
                if (before < 0
                    || !(isWord(m_tokens.at(before), "SELECT") || isWord(m_tokens.at(before), "DISTINCT")))
                    refuse(QStringLiteral("TOP outside a SELECT list"));
                qsizetype k = next(i);
                qsizetype last = k;
                QString limit;
                if (k >= 0 && isPunct(m_tokens.at(k), "(")) {
                    const qsizetype value = next(k);
                    last = value >= 0 ? next(value) : -1;
                    if (value < 0 || m_tokens.at(value).kind != TokenKind::Number || last < 0
                        || !isPunct(m_tokens.at(last), ")"))
                        refuse(QStringLiteral("TOP with an expression"));
                    limit = m_tokens.at(value).text;
                } else if (k >= 0 && m_tokens.at(k).kind == TokenKind::Number) {
                    limit = m_tokens.at(k).text;
                } else {
                    refuse(QStringLiteral("TOP without a number"));
                }
                for (const Pending &p : std::as_const(pending)) {
                    if (p.depth == depth)
                        refuse(QStringLiteral("two TOP clauses in one query"));
                }
                pending.append({depth, limit});
                if (last + 1 < m_tokens.size() && m_tokens.at(last + 1).kind == TokenKind::Space)
                    ++last;
                erase(i, last);
                --i;
            }
        }
        flush(m_tokens.size(), 0);
    }

    // T-SQL concatenates texts with '+'; SQLite would add them as numbers. A '+' with a
    // text literal on either side is a concatenation.
    void concatenation()
    {
        for (qsizetype i = 0; i < m_tokens.size(); ++i) {
            if (!isPunct(m_tokens.at(i), "+"))
                continue;
            const qsizetype before = previous(i);
            const qsizetype after = next(i);
            const bool text = (before >= 0 && m_tokens.at(before).kind == TokenKind::String)
                || (after >= 0 && m_tokens.at(after).kind == TokenKind::String);
            if (text)
                replace(i, {TokenKind::Punct, QStringLiteral("||")});
        }
    }

    QString m_sql;
    bool m_changed = false;  // set before m_tokens, which the tokenizer marks for N'..'
    QList<Token> m_tokens;
};

} // namespace

QString SqlRewriter::toSqlite(const QString &tsql)
{
    // Nearly every statement needs nothing rewritten: it goes back as it came, shared, without
    // the tokens the passes would build (they cost about as much as SQLite running the statement).
    if (needsNothing(tsql))
        return tsql;
    return toSqliteFull(tsql);
}

bool SqlRewriter::passesAsIs(QStringView tsql)
{
    return needsNothing(tsql);
}

QString SqlRewriter::toSqliteFull(const QString &tsql)
{
    return Rewriter(tsql).run();
}

} // namespace ado
