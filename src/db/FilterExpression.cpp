#include "db/FilterExpression.h"

#include "db/Error.h"
#include "db/FieldCodec.h"
#include "platform/Cp1252.h"

#include <QDate>

#include <cstring>
#include <vector>

namespace corvale::db {

class FilterExpression::Node {
public:
    virtual ~Node() = default;
    virtual bool eval(const char *record) const = 0;
};

namespace {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge };

bool apply(Op op, int c) {
    switch (op) {
    case Op::Eq:
        return c == 0;
    case Op::Ne:
        return c != 0;
    case Op::Lt:
        return c < 0;
    case Op::Le:
        return c <= 0;
    case Op::Gt:
        return c > 0;
    case Op::Ge:
        return c >= 0;
    }
    return false;
}

Op mirror(Op op) {
    switch (op) {
    case Op::Lt:
        return Op::Gt;
    case Op::Le:
        return Op::Ge;
    case Op::Gt:
        return Op::Lt;
    case Op::Ge:
        return Op::Le;
    default:
        return op;
    }
}

using NodePtr = std::unique_ptr<FilterExpression::Node>;

class AndNode : public FilterExpression::Node {
public:
    AndNode(NodePtr a, NodePtr b)
        : m_a(std::move(a))
        , m_b(std::move(b)) {}
    bool eval(const char *r) const override { return m_a->eval(r) && m_b->eval(r); }

private:
    NodePtr m_a, m_b;
};

class OrNode : public FilterExpression::Node {
public:
    OrNode(NodePtr a, NodePtr b)
        : m_a(std::move(a))
        , m_b(std::move(b)) {}
    bool eval(const char *r) const override { return m_a->eval(r) || m_b->eval(r); }

private:
    NodePtr m_a, m_b;
};

class NotNode : public FilterExpression::Node {
public:
    explicit NotNode(NodePtr a)
        : m_a(std::move(a)) {}
    bool eval(const char *r) const override { return !m_a->eval(r); }

private:
    NodePtr m_a;
};

bool logicalTrue(char c) {
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

class BoolFieldNode : public FilterExpression::Node {
public:
    explicit BoolFieldNode(int offset)
        : m_offset(offset) {}
    bool eval(const char *r) const override { return logicalTrue(r[m_offset]); }

private:
    int m_offset;
};

// Text cells (and dates, which compare as their "yyyymmdd" text).
class TextNode : public FilterExpression::Node {
public:
    TextNode(const FieldDef &field, QByteArray literal, Op op, Collation collation)
        : m_offset(field.offset)
        , m_length(field.length)
        , m_literal(std::move(literal))
        , m_op(op)
        , m_collation(collation) {
        // Binary equality of a literal as long as the cell: a plain memcmp.
        m_fast = !m_collation.isDictionary() && m_literal.size() == m_length;
    }
    bool eval(const char *r) const override {
        if (m_fast)
            return apply(m_op, std::memcmp(r + m_offset, m_literal.constData(), size_t(m_length)));
        return apply(m_op, m_collation.compare(r + m_offset, m_length, m_literal.constData(),
                                               int(m_literal.size())));
    }

private:
    int m_offset;
    int m_length;
    QByteArray m_literal;
    Op m_op;
    Collation m_collation;
    bool m_fast = false;
};

double numberOf(const FieldDef &field, const char *r) {
    const char *cell = r + field.offset;
    switch (field.type) {
    case 'I':
    case '+':
        return FieldCodec::isBlank(cell, 4) ? 0.0 : double(FieldCodec::decodeLong(cell));
    case 'O':
        return FieldCodec::isBlank(cell, 8) ? 0.0 : FieldCodec::decodeDouble(cell);
    default: {
        double v = 0;
        if (!FieldCodec::parseNumber(cell, field.length, &v))
            v = 0;
        return v;
    }
    }
}

class NumberNode : public FilterExpression::Node {
public:
    NumberNode(const FieldDef &field, double literal, Op op)
        : m_field(field)
        , m_literal(literal)
        , m_op(op) {}
    bool eval(const char *r) const override {
        const double v = numberOf(m_field, r);
        return apply(m_op, v < m_literal ? -1 : (v > m_literal ? 1 : 0));
    }

private:
    FieldDef m_field;
    double m_literal;
    Op m_op;
};

class BoolNode : public FilterExpression::Node {
public:
    BoolNode(int offset, bool literal, Op op)
        : m_offset(offset)
        , m_literal(literal)
        , m_op(op) {}
    bool eval(const char *r) const override {
        const int v = logicalTrue(r[m_offset]) ? 1 : 0;
        return apply(m_op, v - (m_literal ? 1 : 0));
    }

private:
    int m_offset;
    bool m_literal;
    Op m_op;
};

class FieldPairNode : public FilterExpression::Node {
public:
    FieldPairNode(const FieldDef &a, const FieldDef &b, Op op, Collation collation)
        : m_a(a)
        , m_b(b)
        , m_op(op)
        , m_collation(collation) {}
    bool eval(const char *r) const override {
        if (m_a.isNumeric() && m_b.isNumeric()) {
            const double x = numberOf(m_a, r), y = numberOf(m_b, r);
            return apply(m_op, x < y ? -1 : (x > y ? 1 : 0));
        }
        return apply(m_op,
                     m_collation.compare(r + m_a.offset, m_a.length, r + m_b.offset, m_b.length));
    }

private:
    FieldDef m_a, m_b;
    Op m_op;
    Collation m_collation;
};

struct Token {
    enum Kind { End, LParen, RParen, Operator, Word, Text, Number, Parameter } kind = End;
    QString text;
    Op op = Op::Eq;
    int position = 0;
};

struct Operand {
    enum Kind { Field, Literal } kind = Literal;
    int field = -1;
    QString text; // literal as written
    bool quoted = false;
    bool number = false;
    bool boolean = false;
    bool truth = false;
    QVariant parameter;
    bool isParameter = false;
};

class Parser {
public:
    Parser(const QString &text, const FieldList &fields, Collation collation,
           const QString &tableName, const QVariantMap &parameters)
        : m_text(text)
        , m_fields(fields)
        , m_collation(collation)
        , m_table(tableName)
        , m_parameters(parameters) {
        for (const auto &[key, value] : parameters.asKeyValueRange())
            m_upperParameters.insert(key.toUpper(), value);
        advance();
    }

    NodePtr parse() {
        if (m_token.kind == Token::End)
            throw error(QStringLiteral("espressione vuota"));
        NodePtr root = parseOr();
        if (m_token.kind != Token::End)
            throw error(QStringLiteral("testo inatteso \"%1\"").arg(m_text.mid(m_token.position)));
        return root;
    }

private:
    Error error(const QString &why) const {
        return Error(QStringLiteral("Filtro non valido sulla tabella %1: %2 (filtro: %3)")
                         .arg(m_table, why, m_text));
    }

    void advance() {
        const int n = int(m_text.size());
        while (m_pos < n && m_text[m_pos].isSpace())
            ++m_pos;
        m_token = Token();
        m_token.position = m_pos;
        if (m_pos >= n)
            return;
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('(')) {
            m_token.kind = Token::LParen;
            ++m_pos;
        } else if (c == QLatin1Char(')')) {
            m_token.kind = Token::RParen;
            ++m_pos;
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
                   c == QLatin1Char('!')) {
            m_token.kind = Token::Operator;
            const QChar d = m_pos + 1 < n ? m_text[m_pos + 1] : QChar();
            if (c == QLatin1Char('=')) {
                m_token.op = Op::Eq;
                m_pos += 1;
            } else if (c == QLatin1Char('!') && d == QLatin1Char('=')) {
                m_token.op = Op::Ne;
                m_pos += 2;
            } else if (c == QLatin1Char('<') && d == QLatin1Char('>')) {
                m_token.op = Op::Ne;
                m_pos += 2;
            } else if (c == QLatin1Char('<') && d == QLatin1Char('=')) {
                m_token.op = Op::Le;
                m_pos += 2;
            } else if (c == QLatin1Char('>') && d == QLatin1Char('=')) {
                m_token.op = Op::Ge;
                m_pos += 2;
            } else if (c == QLatin1Char('<')) {
                m_token.op = Op::Lt;
                m_pos += 1;
            } else if (c == QLatin1Char('>')) {
                m_token.op = Op::Gt;
                m_pos += 1;
            } else {
                throw error(QStringLiteral("carattere inatteso \"%1\"").arg(c));
            }
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            m_token.kind = Token::Text;
            ++m_pos;
            QString value;
            while (true) {
                if (m_pos >= n)
                    throw error(QStringLiteral("testo tra apici non chiuso"));
                if (m_text[m_pos] == c) {
                    if (m_pos + 1 < n && m_text[m_pos + 1] == c) {
                        value += c;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
            m_token.text = value;
        } else if (c.isDigit() ||
                   ((c == QLatin1Char('-') || c == QLatin1Char('.')) && m_pos + 1 < n &&
                    (m_text[m_pos + 1].isDigit() || m_text[m_pos + 1] == QLatin1Char('.')))) {
            m_token.kind = Token::Number;
            const int start = m_pos++;
            while (m_pos < n && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')))
                ++m_pos;
            m_token.text = m_text.mid(start, m_pos - start);
        } else if (c == QLatin1Char(':')) {
            m_token.kind = Token::Parameter;
            const int start = ++m_pos;
            while (m_pos < n &&
                   (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
                ++m_pos;
            m_token.text = m_text.mid(start, m_pos - start);
            if (m_token.text.isEmpty())
                throw error(QStringLiteral("parametro senza nome"));
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            m_token.kind = Token::Word;
            const int start = m_pos;
            while (m_pos < n &&
                   (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_') ||
                    m_text[m_pos] == QLatin1Char('.')))
                ++m_pos;
            m_token.text = m_text.mid(start, m_pos - start);
        } else {
            throw error(QStringLiteral("carattere inatteso \"%1\"").arg(c));
        }
    }

    bool isKeyword(const char *word) const {
        return m_token.kind == Token::Word &&
               m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    NodePtr parseOr() {
        NodePtr left = parseAnd();
        while (isKeyword("OR")) {
            advance();
            left = std::make_unique<OrNode>(std::move(left), parseAnd());
        }
        return left;
    }

    NodePtr parseAnd() {
        NodePtr left = parseFactor();
        while (isKeyword("AND")) {
            advance();
            left = std::make_unique<AndNode>(std::move(left), parseFactor());
        }
        return left;
    }

    NodePtr parseFactor() {
        if (++m_depth > 200)
            throw error(QStringLiteral("espressione troppo annidata"));
        NodePtr result;
        if (isKeyword("NOT")) {
            advance();
            result = std::make_unique<NotNode>(parseFactor());
        } else if (m_token.kind == Token::LParen) {
            // "(" may open a sub-expression or, rarely, wrap an operand; a sub-expression
            // is all the filters we meet use.
            advance();
            result = parseOr();
            if (m_token.kind != Token::RParen)
                throw error(QStringLiteral("parentesi non chiusa"));
            advance();
        } else {
            result = parseComparison();
        }
        --m_depth;
        return result;
    }

    int fieldIndex(const QString &word) const {
        QString name = word;
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            name = name.mid(dot + 1);
        for (int i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    Operand parseOperand() {
        Operand operand;
        switch (m_token.kind) {
        case Token::Word: {
            const int index = fieldIndex(m_token.text);
            if (index >= 0) {
                operand.kind = Operand::Field;
                operand.field = index;
            } else if (m_token.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
                       m_token.text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
                operand.boolean = true;
                operand.truth =
                    m_token.text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
                operand.text = m_token.text;
            } else {
                operand.text = m_token.text;
            }
            break;
        }
        case Token::Text:
            operand.text = m_token.text;
            operand.quoted = true;
            break;
        case Token::Number:
            operand.text = m_token.text;
            operand.number = true;
            break;
        case Token::Parameter: {
            const auto it = m_upperParameters.constFind(m_token.text.toUpper());
            if (it == m_upperParameters.constEnd())
                throw error(QStringLiteral("parametro :%1 senza valore").arg(m_token.text));
            operand.isParameter = true;
            operand.parameter = it.value();
            operand.text = it.value().toString();
            break;
        }
        case Token::End:
            throw error(QStringLiteral("espressione incompleta"));
        default:
            throw error(QStringLiteral("testo inatteso \"%1\"").arg(m_text.mid(m_token.position)));
        }
        advance();
        return operand;
    }

    NodePtr parseComparison() {
        const int wordPosition = m_token.position;
        Operand left = parseOperand();
        if (m_token.kind != Token::Operator) {
            if (left.kind == Operand::Field) {
                const FieldDef &field = m_fields[left.field];
                if (field.type != 'L')
                    throw error(QStringLiteral("il campo %1 non è logico").arg(field.name));
                return std::make_unique<BoolFieldNode>(field.offset);
            }
            if (!left.quoted && !left.number && !left.boolean && !left.isParameter)
                throw error(QStringLiteral("campo %1 inesistente")
                                .arg(m_text.mid(wordPosition, left.text.size())));
            throw error(QStringLiteral("condizione incompleta"));
        }
        Op op = m_token.op;
        advance();
        Operand right = parseOperand();
        if (left.kind != Operand::Field && right.kind == Operand::Field) {
            std::swap(left, right);
            op = mirror(op);
        }
        if (left.kind != Operand::Field)
            throw error(QStringLiteral("confronto senza campi"));
        const FieldDef &field = m_fields[left.field];
        if (right.kind == Operand::Field) {
            const FieldDef &other = m_fields[right.field];
            if (field.isMemo() || other.isMemo())
                throw error(QStringLiteral("i campi memo non si possono confrontare"));
            return std::make_unique<FieldPairNode>(field, other, op, m_collation);
        }
        return literalNode(field, right, op);
    }

    NodePtr literalNode(const FieldDef &field, const Operand &literal, Op op) {
        auto badLiteral = [&]() {
            return error(QStringLiteral("il valore \"%1\" non è adatto al campo %2")
                             .arg(literal.text, field.name));
        };
        if (field.isMemo())
            throw error(QStringLiteral("il campo memo %1 non si può confrontare").arg(field.name));
        if (field.isNumeric()) {
            double value = 0;
            if (literal.isParameter && literal.parameter.typeId() != QMetaType::QString) {
                bool ok = false;
                value = literal.parameter.toDouble(&ok);
                if (!ok)
                    throw badLiteral();
            } else {
                const QByteArray text = literal.text.trimmed().toLatin1();
                bool blank = false;
                if (literal.boolean ||
                    !FieldCodec::parseNumber(text.constData(), int(text.size()), &value, &blank))
                    throw badLiteral();
            }
            return std::make_unique<NumberNode>(field, value, op);
        }
        if (field.type == 'L') {
            bool truth = literal.truth;
            if (!literal.boolean) {
                const QString t = literal.text.trimmed().toUpper();
                if (t == QLatin1String("T") || t == QLatin1String("TRUE") ||
                    t == QLatin1String("Y") || t == QLatin1String("S") || t == QLatin1String("1"))
                    truth = true;
                else if (t == QLatin1String("F") || t == QLatin1String("FALSE") ||
                         t == QLatin1String("N") || t == QLatin1String("0"))
                    truth = false;
                else if (literal.isParameter && literal.parameter.typeId() == QMetaType::Bool)
                    truth = literal.parameter.toBool();
                else
                    throw badLiteral();
            }
            return std::make_unique<BoolNode>(field.offset, truth, op);
        }
        if (field.type == 'D') {
            QByteArray key;
            const QString t = literal.text.trimmed();
            if (literal.isParameter && literal.parameter.typeId() == QMetaType::QDate) {
                key = literal.parameter.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1();
            } else if (!t.isEmpty()) {
                QDate date = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
                if (!date.isValid())
                    date = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
                if (!date.isValid())
                    date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
                if (!date.isValid())
                    throw badLiteral();
                key = date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            }
            return std::make_unique<TextNode>(field, key, op, Collation(0x57));
        }
        QByteArray bytes = Cp1252::encode(literal.text);
        return std::make_unique<TextNode>(field, bytes, op, m_collation);
    }

    QString m_text;
    const FieldList &m_fields;
    Collation m_collation;
    QString m_table;
    QVariantMap m_parameters;
    QHash<QString, QVariant> m_upperParameters;
    Token m_token;
    int m_pos = 0;
    int m_depth = 0;
};

} // namespace

FilterExpression::~FilterExpression() = default;

std::unique_ptr<FilterExpression>
FilterExpression::compile(const QString &text, const FieldList &fields, Collation collation,
                          const QString &tableName, const QVariantMap &parameters) {
    std::unique_ptr<FilterExpression> expression(new FilterExpression);
    expression->m_text = text;
    Parser parser(text, fields, collation, tableName, parameters);
    expression->m_root = parser.parse();
    return expression;
}

bool FilterExpression::matches(const char *record) const {
    return m_root->eval(record);
}

} // namespace corvale::db
