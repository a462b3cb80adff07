#include "db/SqlStatement.h"

#include "db/DbfFormat.h"
#include "db/Error.h"

#include <QRegularExpression>

namespace corvale::db {

namespace {

class Lexer {
public:
    explicit Lexer(const QString &text)
        : m_text(text) {}

    Error error(const QString &why) const {
        return Error(
            QStringLiteral("Istruzione SQL non valida: %1\n%2").arg(why, m_text.trimmed()));
    }

    void skipSpace() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    bool atEnd() {
        skipSpace();
        return m_pos >= m_text.size();
    }

    int position() const { return int(m_pos); }
    QString rest() const { return m_text.mid(m_pos); }

    // A word, a quoted name, or one punctuation character.
    QString next() {
        skipSpace();
        if (m_pos >= m_text.size())
            return {};
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = m_text.indexOf(c, m_pos + 1);
            if (end < 0)
                throw error(QStringLiteral("nome tra virgolette non chiuso"));
            const QString word = m_text.mid(m_pos, end - m_pos + 1);
            m_pos = end + 1;
            return word;
        }
        if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() &&
                   (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_') ||
                    m_text[m_pos] == QLatin1Char('.') || m_text[m_pos] == QLatin1Char('$')))
                ++m_pos;
            return m_text.mid(start, m_pos - start);
        }
        ++m_pos;
        return QString(c);
    }

    QString peek() {
        const qsizetype saved = m_pos;
        const QString word = next();
        m_pos = saved;
        return word;
    }

    void expect(const char *word) {
        const QString got = next();
        if (got.compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            throw error(QStringLiteral("atteso %1 invece di \"%2\"").arg(QLatin1String(word), got));
    }

    bool accept(const char *word) {
        if (peek().compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            next();
            return true;
        }
        return false;
    }

    int number() {
        const QString word = next();
        bool ok = false;
        const int value = word.toInt(&ok);
        if (!ok)
            throw error(QStringLiteral("atteso un numero invece di \"%1\"").arg(word));
        return value;
    }

private:
    QString m_text;
    qsizetype m_pos = 0;
};

QString tableName(Lexer &lexer) {
    QString name = lexer.next();
    if (name.isEmpty())
        throw lexer.error(QStringLiteral("manca il nome della tabella"));
    if (name.startsWith(QLatin1Char('"')) || name.startsWith(QLatin1Char('\'')))
        name = name.mid(1, name.size() - 2).trimmed();
    if (name.isEmpty())
        throw lexer.error(QStringLiteral("manca il nome della tabella"));
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".DBF");
    return name;
}

QString columnName(Lexer &lexer) {
    QString name = lexer.next();
    if (name.startsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot >= 0)
        name = name.mid(dot + 1);
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,9}$"));
    if (!valid.match(name).hasMatch())
        throw lexer.error(QStringLiteral("nome di colonna non valido \"%1\"").arg(name));
    return name.toUpper();
}

FieldDef columnType(Lexer &lexer, const QString &name) {
    const QString type = lexer.next().toUpper();
    FieldDef field;
    field.name = name;
    if (type == QLatin1String("CHARACTER") || type == QLatin1String("CHAR") ||
        type == QLatin1String("VARCHAR")) {
        lexer.expect("(");
        field.type = 'C';
        field.length = lexer.number();
        lexer.expect(")");
        if (field.length < 1 || field.length > dbf::maxTextLength)
            throw lexer.error(QStringLiteral("lunghezza non valida per %1").arg(name));
    } else if (type == QLatin1String("NUMERIC") || type == QLatin1String("DECIMAL")) {
        field.type = 'N';
        field.length = 15;
        field.decimals = 0;
        if (lexer.accept("(")) {
            field.length = lexer.number();
            if (lexer.accept(","))
                field.decimals = lexer.number();
            lexer.expect(")");
        }
        if (field.length < 1 || field.length > dbf::maxNumberLength || field.decimals < 0 ||
            (field.decimals > 0 && field.decimals > field.length - 2))
            throw lexer.error(QStringLiteral("dimensioni non valide per %1").arg(name));
    } else if (type == QLatin1String("BOOLEAN")) {
        field.type = 'L';
        field.length = 1;
    } else if (type == QLatin1String("DATE")) {
        field.type = 'D';
        field.length = 8;
    } else if (type == QLatin1String("BLOB") || type == QLatin1String("MEMO")) {
        field.type = 'M';
        field.length = dbf::memoPointerLength;
        if (lexer.accept("(")) {
            lexer.number();
            if (lexer.accept(","))
                lexer.number();
            lexer.expect(")");
        }
    } else {
        throw lexer.error(QStringLiteral("tipo di colonna sconosciuto \"%1\"").arg(type));
    }
    return field;
}

// Position of a keyword outside quotes, or -1.
qsizetype findKeyword(const QString &text, const QString &keyword, qsizetype from) {
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if ((i == 0 || text[i - 1].isSpace() || text[i - 1] == QLatin1Char(')')) &&
            text.mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0 &&
            (i + keyword.size() >= text.size() || text[i + keyword.size()].isSpace()))
            return i;
    }
    return -1;
}

} // namespace

SqlStatement SqlStatement::parse(const QString &text) {
    Lexer lexer(text);
    SqlStatement statement;
    const QString verb = lexer.next().toUpper();
    if (verb == QLatin1String("ALTER")) {
        statement.kind = Kind::AlterTable;
        lexer.expect("TABLE");
        statement.table = tableName(lexer);
        do {
            lexer.expect("ADD");
            const QString name = columnName(lexer);
            statement.addedFields << columnType(lexer, name);
        } while (lexer.accept(","));
        if (!lexer.atEnd())
            throw lexer.error(QStringLiteral("testo inatteso \"%1\"").arg(lexer.rest().trimmed()));
        return statement;
    }
    if (verb == QLatin1String("CREATE")) {
        statement.kind = Kind::CreateIndex;
        lexer.expect("INDEX");
        statement.indexName = columnName(lexer);
        lexer.expect("ON");
        statement.table = tableName(lexer);
        lexer.expect("(");
        statement.indexColumn = columnName(lexer);
        if (lexer.peek() == QLatin1String(","))
            throw lexer.error(QStringLiteral("sono ammessi solo indici su una colonna"));
        lexer.expect(")");
        if (!lexer.atEnd())
            throw lexer.error(QStringLiteral("testo inatteso \"%1\"").arg(lexer.rest().trimmed()));
        return statement;
    }
    if (verb == QLatin1String("SELECT")) {
        statement.kind = Kind::Select;
        if (lexer.next() != QLatin1String("*"))
            throw lexer.error(QStringLiteral("è ammesso solo \"select *\""));
        lexer.expect("FROM");
        statement.table = tableName(lexer);
        const QString rest = lexer.rest();
        const qsizetype orderAt = findKeyword(rest, QStringLiteral("ORDER"), 0);
        const qsizetype whereAt = findKeyword(rest, QStringLiteral("WHERE"), 0);
        if (!rest.left(whereAt >= 0 ? whereAt : (orderAt >= 0 ? orderAt : rest.size()))
                 .trimmed()
                 .isEmpty())
            throw lexer.error(QStringLiteral("testo inatteso \"%1\"").arg(rest.trimmed()));
        if (whereAt >= 0) {
            const qsizetype end = orderAt > whereAt ? orderAt : rest.size();
            statement.where = rest.mid(whereAt + 5, end - whereAt - 5).trimmed();
            if (statement.where.isEmpty())
                throw lexer.error(QStringLiteral("condizione WHERE vuota"));
        }
        if (orderAt >= 0) {
            Lexer order(rest.mid(orderAt));
            order.expect("ORDER");
            order.expect("BY");
            do {
                statement.orderBy << columnName(order);
                bool desc = false;
                if (order.accept("DESC"))
                    desc = true;
                else
                    order.accept("ASC");
                statement.descending << desc;
            } while (order.accept(","));
            if (!order.atEnd())
                throw lexer.error(
                    QStringLiteral("testo inatteso \"%1\"").arg(order.rest().trimmed()));
        }
        return statement;
    }
    throw lexer.error(QStringLiteral("istruzione sconosciuta"));
}

} // namespace corvale::db
