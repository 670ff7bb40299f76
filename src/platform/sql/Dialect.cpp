#include "sql/Dialect.h"

#include "sql/Column.h"
#include "sql/DesktopFunctions.h"
#include "sql/Error.h"
#include "text/DateText.h"

#include <QList>
#include <QSet>
#include <optional>

namespace sql {
namespace {

enum class Kind { Space, Word, Number, Text, Date, Parameter, Symbol };

// One piece of a statement; `text` is what goes into the SQLite statement.
struct Token {
    Kind kind;
    QString text;

    bool is(const char* symbol) const {
        return kind != Kind::Space && kind != Kind::Text && kind != Kind::Date
               && text.compare(QLatin1String(symbol), Qt::CaseInsensitive) == 0;
    }
    // A name without its [brackets].
    QString name() const {
        if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']')))
            return text.mid(1, text.size() - 2);
        return text;
    }
};

using Tokens = QList<Token>;

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// A quoted literal ("..." or '...', the quote doubled inside); returns its content.
QString readQuoted(const QString& s, qsizetype& i) {
    const QChar quote = s[i];
    QString value;
    for (++i; i < s.size(); ++i) {
        if (s[i] != quote) {
            value += s[i];
        } else if (i + 1 < s.size() && s[i + 1] == quote) {
            value += quote;
            ++i;
        } else {
            ++i;
            return value;
        }
    }
    throw Error(QStringLiteral("文本常量缺少结束引号：%1").arg(s));
}

QString readDateLiteral(const QString& s, qsizetype& i) {
    const qsizetype close = s.indexOf(QLatin1Char('#'), i + 1);
    if (close < 0)
        throw Error(QStringLiteral("日期常量缺少结束的 #：%1").arg(s.mid(i)));
    const QString literal = s.mid(i, close - i + 1);
    i = close + 1;
    const auto dateTime = text::parseDateTime(literal.mid(1, literal.size() - 2));
    if (!dateTime)
        throw Error(QStringLiteral("无效的日期常量 %1（应写作 #yyyy-MM-dd#）").arg(literal));
    return quoted(text::storedDateText(*dateTime));
}

Tokens tokenize(const QString& s) {
    static const QStringList twoCharSymbols = {
        QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!="),
        QStringLiteral("=="), QStringLiteral("||"), QStringLiteral("<<"), QStringLiteral(">>")};
    Tokens tokens;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < s.size() && s[i].isSpace())
                ++i;
            tokens.append({Kind::Space, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < s.size() && isWordPart(s[i]))
                ++i;
            tokens.append({Kind::Word, s.mid(start, i - start)});
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = s.indexOf(QLatin1Char(']'), i);
            if (close < 0)
                throw Error(QStringLiteral("名称缺少结束的 ]：%1").arg(s.mid(i)));
            i = close + 1;
            tokens.append({Kind::Word, s.mid(start, i - start)});
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < s.size() && s[i + 1].isDigit())) {
            while (i < s.size() && (s[i].isDigit() || s[i] == QLatin1Char('.')))
                ++i;
            if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
                    ++j;
                if (j < s.size() && s[j].isDigit()) {
                    i = j;
                    while (i < s.size() && s[i].isDigit())
                        ++i;
                }
            }
            tokens.append({Kind::Number, s.mid(start, i - start)});
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            tokens.append({Kind::Text, quoted(readQuoted(s, i))});
        } else if (c == QLatin1Char('#')) {
            tokens.append({Kind::Date, readDateLiteral(s, i)});
        } else if (c == QLatin1Char(':') && i + 1 < s.size() && isWordStart(s[i + 1])) {
            for (++i; i < s.size() && isWordPart(s[i]);)
                ++i;
            tokens.append({Kind::Parameter, s.mid(start, i - start)});
        } else if (twoCharSymbols.contains(s.mid(i, 2))) {
            i += 2;
            tokens.append({Kind::Symbol, s.mid(start, 2)});
        } else {
            ++i;
            tokens.append({Kind::Symbol, QString(c)});
        }
    }
    return tokens;
}

QString joined(const Tokens& tokens, qsizetype from, qsizetype to) {
    QString text;
    for (qsizetype i = from; i < to; ++i)
        text += tokens[i].text;
    return text.trimmed();
}

qsizetype nextSolid(const Tokens& tokens, qsizetype i) {
    for (++i; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Space)
            return i;
    }
    return -1;
}

qsizetype previousSolid(const Tokens& tokens, qsizetype i) {
    for (--i; i >= 0; --i) {
        if (tokens[i].kind != Kind::Space)
            return i;
    }
    return -1;
}

bool isKeyword(const Token& token) {
    static const QSet<QString> keywords = {
        QStringLiteral("and"),    QStringLiteral("or"),     QStringLiteral("not"),
        QStringLiteral("in"),     QStringLiteral("is"),     QStringLiteral("like"),
        QStringLiteral("between"), QStringLiteral("where"), QStringLiteral("select"),
        QStringLiteral("from"),   QStringLiteral("on"),     QStringLiteral("when"),
        QStringLiteral("then"),   QStringLiteral("else"),   QStringLiteral("case"),
        QStringLiteral("exists"), QStringLiteral("as"),     QStringLiteral("by"),
        QStringLiteral("having"), QStringLiteral("set"),    QStringLiteral("values"),
        QStringLiteral("distinct"), QStringLiteral("all"),  QStringLiteral("union")};
    return token.kind == Kind::Word && keywords.contains(token.text.toLower());
}

bool followedByOpenParen(const Tokens& tokens, qsizetype i) {
    const qsizetype next = nextSolid(tokens, i);
    return next >= 0 && tokens[next].is("(");
}

bool precededByDot(const Tokens& tokens, qsizetype i) {
    const qsizetype previous = previousSolid(tokens, i);
    return previous >= 0 && tokens[previous].is(".");
}

// Date() without arguments is the desktop's today; date(x) with arguments is left to SQLite.
bool isDesktopCall(const Tokens& tokens, qsizetype i) {
    if (!followedByOpenParen(tokens, i) || precededByDot(tokens, i))
        return false;
    if (tokens[i].text.compare(QLatin1String("date"), Qt::CaseInsensitive) != 0)
        return true;
    const qsizetype close = nextSolid(tokens, nextSolid(tokens, i));
    return close >= 0 && tokens[close].is(")");
}

// & joins texts, True/False are 1/0, desktop functions take their registered names.
void rewriteWords(Tokens& tokens) {
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        Token& token = tokens[i];
        if (token.kind == Kind::Symbol && token.text == QLatin1String("&")) {
            token.text = QStringLiteral("||");
        } else if (token.kind == Kind::Word && !token.text.startsWith(QLatin1Char('['))) {
            if ((token.is("true") || token.is("false")) && !followedByOpenParen(tokens, i)
                && !precededByDot(tokens, i)) {
                token = {Kind::Number, token.is("true") ? QStringLiteral("1") : QStringLiteral("0")};
            } else if (const QString registered = registeredFunctionName(token.text);
                       !registered.isEmpty() && isDesktopCall(tokens, i)) {
                token.text = registered;
            }
        }
    }
}

qsizetype matchingOpenParen(const Tokens& tokens, qsizetype close) {
    int depth = 0;
    for (qsizetype i = close; i >= 0; --i) {
        if (tokens[i].is(")"))
            ++depth;
        else if (tokens[i].is("(") && --depth == 0)
            return i;
    }
    return -1;
}

// First token of the operand that ends at `end`: a literal, a (qualified) column,
// a parenthesised expression or a function call. -1 when there is none.
qsizetype operandStart(const Tokens& tokens, qsizetype end) {
    if (end < 0)
        return -1;
    const Token& last = tokens[end];
    if (last.is(")")) {
        const qsizetype open = matchingOpenParen(tokens, end);
        if (open < 0)
            return -1;
        const qsizetype function = previousSolid(tokens, open);
        if (function >= 0 && tokens[function].kind == Kind::Word && !isKeyword(tokens[function]))
            return function;
        return open;
    }
    if (last.kind == Kind::Word && !isKeyword(last)) {
        qsizetype start = end;
        for (;;) {
            const qsizetype dot = previousSolid(tokens, start);
            const qsizetype owner = dot >= 0 ? previousSolid(tokens, dot) : -1;
            if (owner < 0 || !tokens[dot].is(".") || tokens[owner].kind != Kind::Word)
                return start;
            start = owner;
        }
    }
    if (last.kind == Kind::Number || last.kind == Kind::Text || last.kind == Kind::Date
        || last.kind == Kind::Parameter)
        return end;
    return -1;
}

// X - #date# is the difference in days: (julianday(X) - julianday('date')).
void rewriteDayDifferences(Tokens& tokens) {
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].is("-"))
            continue;
        const qsizetype date = nextSolid(tokens, i);
        if (date < 0 || tokens[date].kind != Kind::Date)
            continue;
        const qsizetype operandEnd = previousSolid(tokens, i);
        const qsizetype start = operandStart(tokens, operandEnd);
        if (start < 0)
            continue;
        const Token open{Kind::Symbol, QStringLiteral("(")};
        const Token close{Kind::Symbol, QStringLiteral(")")};
        const Token julianday{Kind::Word, QStringLiteral("julianday")};
        Tokens replacement{open, julianday, open};
        replacement += tokens.mid(start, operandEnd - start + 1);
        replacement += Tokens{close, {Kind::Space, QStringLiteral(" ")}, {Kind::Symbol, QStringLiteral("-")},
                              {Kind::Space, QStringLiteral(" ")}, julianday, open, tokens[date], close, close};
        tokens.remove(start, date - start + 1);
        for (qsizetype k = 0; k < replacement.size(); ++k)
            tokens.insert(start + k, replacement[k]);
        i = start + replacement.size() - 1;
    }
}

// Solid (non-blank) token positions of a statement, without a trailing ";".
QList<qsizetype> solidPositions(const Tokens& tokens) {
    QList<qsizetype> solid;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Space)
            solid.append(i);
    }
    while (!solid.isEmpty() && tokens[solid.last()].is(";"))
        solid.removeLast();
    return solid;
}

struct Range {
    qsizetype from;  // token positions, `to` exclusive
    qsizetype to;
};

// Splits [from, to) at the top-level tokens for which `isSeparator` holds.
template <typename Predicate>
QList<Range> splitTopLevel(const Tokens& tokens, Range range, Predicate isSeparator) {
    QList<Range> parts;
    int depth = 0;
    qsizetype partStart = range.from;
    for (qsizetype i = range.from; i < range.to; ++i) {
        if (tokens[i].is("("))
            ++depth;
        else if (tokens[i].is(")"))
            --depth;
        else if (depth == 0 && isSeparator(i)) {
            parts.append({partStart, i});
            partStart = i + 1;
        }
    }
    parts.append({partStart, range.to});
    return parts;
}

// "alter table T add A t1, B t2" -> one ADD COLUMN per column; text(n) and varchar(n)
// columns get the width check of the account set.
std::optional<QStringList> translateAlterTableAdd(const Tokens& tokens) {
    const QList<qsizetype> solid = solidPositions(tokens);
    if (solid.size() < 5 || !tokens[solid[0]].is("alter") || !tokens[solid[1]].is("table")
        || !tokens[solid[3]].is("add"))
        return std::nullopt;
    const Token& table = tokens[solid[2]];
    QStringList statements;
    const Range definitions{solid[3] + 1, solid.last() + 1};
    for (const Range& part : splitTopLevel(tokens, definitions, [&](qsizetype i) { return tokens[i].is(","); })) {
        qsizetype name = nextSolid(tokens, part.from - 1);
        if (name >= 0 && name < part.to && tokens[name].is("column"))
            name = nextSolid(tokens, name);
        if (name < 0 || name >= part.to || tokens[name].kind != Kind::Word)
            throw Error(QStringLiteral("alter table 语句缺少字段名：%1").arg(joined(tokens, 0, tokens.size())));
        QString definition = tokens[name].text;
        const QString rest = joined(tokens, name + 1, part.to);
        if (!rest.isEmpty())
            definition += QLatin1Char(' ') + rest;
        const qsizetype typeEnd = rest.indexOf(QLatin1Char(')'));
        int width = 0;
        if (fieldTypeOfDeclared(typeEnd < 0 ? rest : rest.left(typeEnd + 1), &width) == FieldType::Text && width > 0)
            definition += QLatin1Char(' ') + widthConstraint(table.name().toUpper(), tokens[name].name().toUpper(), width);
        statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table.text, definition);
    }
    return statements;
}

struct Reference {
    QString alias;   // lower case, without brackets
    QString column;  // lower case, without brackets
    qsizetype columnToken;
};

// Every alias.column inside [from, to).
QList<Reference> referencesIn(const Tokens& tokens, Range range) {
    QList<Reference> references;
    for (qsizetype i = range.from; i < range.to; ++i) {
        if (tokens[i].kind != Kind::Word || precededByDot(tokens, i))
            continue;
        const qsizetype dot = nextSolid(tokens, i);
        const qsizetype column = dot >= 0 ? nextSolid(tokens, dot) : -1;
        if (column >= 0 && column < range.to && tokens[dot].is(".") && tokens[column].kind == Kind::Word)
            references.append({tokens[i].name().toLower(), tokens[column].name().toLower(), column});
    }
    return references;
}

// Splits a condition at its top-level AND (the AND of a BETWEEN stays with it).
QList<Range> conjuncts(const Tokens& tokens, Range range) {
    bool inBetween = false;
    return splitTopLevel(tokens, range, [&](qsizetype i) {
        if (tokens[i].is("or"))
            throw Error(QStringLiteral("两表更新的条件在最外层只能用 and 连接"));
        if (tokens[i].is("between"))
            inBetween = true;
        if (!tokens[i].is("and"))
            return false;
        if (inBetween) {
            inBetween = false;
            return false;
        }
        return true;
    });
}

struct TableRef {
    QString table;
    QString alias;  // as written; the table name when no alias is given
};

// Reads "name [as] [alias]" starting at solid[k]; leaves k after it.
std::optional<TableRef> readTableRef(const Tokens& tokens, const QList<qsizetype>& solid, qsizetype& k) {
    if (k >= solid.size() || tokens[solid[k]].kind != Kind::Word || isKeyword(tokens[solid[k]]))
        return std::nullopt;
    TableRef ref{tokens[solid[k]].text, tokens[solid[k]].text};
    ++k;
    if (k < solid.size() && tokens[solid[k]].is("as"))
        ++k;
    if (k < solid.size() && tokens[solid[k]].kind == Kind::Word && !isKeyword(tokens[solid[k]]))
        ref.alias = tokens[solid[k++]].text;
    return ref;
}

QString bare(const QString& name) {
    return Token{Kind::Word, name}.name().toLower();
}

// "update a x, b y set y.c=y.c-x.q where y.k=x.k and x.id='1'": the table the SET
// targets is updated from the other table's rows, summed per join key first, so that
// several source rows of one key all count.
std::optional<QString> translateTwoTableUpdate(Tokens tokens) {
    const QList<qsizetype> solid = solidPositions(tokens);
    qsizetype k = 1;
    if (solid.isEmpty() || !tokens[solid[0]].is("update"))
        return std::nullopt;
    const auto first = readTableRef(tokens, solid, k);
    if (!first || k >= solid.size() || !tokens[solid[k]].is(","))
        return std::nullopt;
    ++k;
    const auto second = readTableRef(tokens, solid, k);
    if (!second || k >= solid.size() || !tokens[solid[k]].is("set"))
        throw Error(QStringLiteral("无法识别的两表更新语句：%1").arg(joined(tokens, 0, tokens.size())));
    const qsizetype setStart = solid[k] + 1;
    const qsizetype end = solid.last() + 1;
    qsizetype whereAt = -1;
    int depth = 0;
    for (qsizetype i = setStart; i < end && whereAt < 0; ++i) {
        if (tokens[i].is("("))
            ++depth;
        else if (tokens[i].is(")"))
            --depth;
        else if (depth == 0 && tokens[i].is("where"))
            whereAt = i;
    }
    if (whereAt < 0)
        throw Error(QStringLiteral("两表更新缺少 where 连接条件"));

    // The SET assignments name the target.
    struct Assignment {
        QString column;
        Range value;
    };
    QList<Assignment> assignments;
    QString targetAlias;
    for (const Range& part : splitTopLevel(tokens, {setStart, whereAt}, [&](qsizetype i) { return tokens[i].is(","); })) {
        qsizetype equals = -1;
        for (qsizetype i = part.from; i < part.to && equals < 0; ++i) {
            if (tokens[i].is("="))
                equals = i;
        }
        const QList<Reference> left = referencesIn(tokens, {part.from, equals});
        if (equals < 0 || left.size() != 1)
            throw Error(QStringLiteral("两表更新的 set 须写成 别名.字段=值"));
        if (!targetAlias.isEmpty() && targetAlias != left[0].alias)
            throw Error(QStringLiteral("两表更新只能修改一个表"));
        targetAlias = left[0].alias;
        assignments.append({tokens[left[0].columnToken].text, {equals + 1, part.to}});
    }
    const bool firstIsTarget = bare(first->alias) == targetAlias;
    if (!firstIsTarget && bare(second->alias) != targetAlias)
        throw Error(QStringLiteral("两表更新的 set 使用了未知的别名 %1").arg(targetAlias));
    const TableRef& target = firstIsTarget ? *first : *second;
    const TableRef& source = firstIsTarget ? *second : *first;
    const QString sourceAlias = bare(source.alias);

    // Conditions on the source only filter the rows to sum; the others join or filter the target.
    QStringList sourceConditions;
    QStringList outerConditions;
    QStringList keys;
    bool joinedToSource = false;
    for (const Range& part : conjuncts(tokens, {whereAt + 1, end})) {
        bool usesSource = false;
        bool usesTarget = false;
        QStringList sourceColumns;
        for (const Reference& ref : referencesIn(tokens, part)) {
            if (ref.alias == sourceAlias) {
                usesSource = true;
                sourceColumns << ref.column;
            } else if (ref.alias == targetAlias) {
                usesTarget = true;
            }
        }
        const QString condition = joined(tokens, part.from, part.to);
        if (usesTarget && usesSource) {
            joinedToSource = true;
            for (const QString& column : sourceColumns) {
                if (!keys.contains(column))
                    keys << column;
            }
        }
        (usesTarget ? outerConditions : sourceConditions) << condition;
    }
    if (!joinedToSource)
        throw Error(QStringLiteral("两表更新缺少两个表之间的连接条件"));

    QStringList sums;
    QStringList setTexts;
    for (const Assignment& assignment : assignments) {
        for (const Reference& ref : referencesIn(tokens, assignment.value)) {
            if (ref.alias != sourceAlias || keys.contains(ref.column))
                continue;
            const QString sumName = QStringLiteral("sum_") + ref.column;
            if (!sums.contains(ref.column))
                sums << ref.column;
            tokens[ref.columnToken].text = sumName;
        }
        setTexts << QStringLiteral("%1=%2").arg(assignment.column, joined(tokens, assignment.value.from, assignment.value.to));
    }

    QStringList selected;
    QStringList grouped;
    for (const QString& key : keys) {
        selected << QStringLiteral("%1.%2 AS %2").arg(source.alias, key);
        grouped << QStringLiteral("%1.%2").arg(source.alias, key);
    }
    for (const QString& column : sums)
        selected << QStringLiteral("sum(%1.%2) AS sum_%2").arg(source.alias, column);
    QString inner = QStringLiteral("SELECT %1 FROM %2 AS %3").arg(selected.join(QStringLiteral(", ")), source.table, source.alias);
    if (!sourceConditions.isEmpty())
        inner += QStringLiteral(" WHERE ") + sourceConditions.join(QStringLiteral(" AND "));
    inner += QStringLiteral(" GROUP BY ") + grouped.join(QStringLiteral(", "));
    return QStringLiteral("UPDATE %1 AS %2 SET %3 FROM (%4) AS %5 WHERE %6")
        .arg(target.table, target.alias, setTexts.join(QStringLiteral(", ")), inner, source.alias,
             outerConditions.join(QStringLiteral(" AND ")));
}

} // namespace

QStringList translate(const QString& statement) {
    Tokens tokens = tokenize(statement);
    rewriteWords(tokens);
    rewriteDayDifferences(tokens);
    if (auto statements = translateAlterTableAdd(tokens))
        return *statements;
    if (auto update = translateTwoTableUpdate(tokens))
        return {*update};
    QString passed;
    for (const Token& token : tokens)
        passed += token.text;
    return {passed};
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString widthConstraint(const QString& table, const QString& column, int width) {
    return QStringLiteral("CONSTRAINT \"字段 %1.%2 的内容超过 %3 个字符\" CHECK (length(%2) <= %3)")
        .arg(table, column)
        .arg(width);
}

} // namespace sql
