#include "store/SqlText.h"

#include <QRegularExpression>

namespace store {
namespace {

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isIdentChar(QChar c) {
    return isAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$' || c == u'#';
}

/// Placeholder names are ASCII; only a to z change, so the text keeps its length.
QString upperAscii(QStringView s) {
    QString out = s.toString();
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
    }
    return out;
}

/// Index just past the quoted literal that starts at `i` (a single quote); '' inside is a quote.
qsizetype skipLiteral(const QString& s, qsizetype i) {
    ++i;
    while (i < s.size()) {
        if (s[i] == u'\'') {
            if (i + 1 < s.size() && s[i + 1] == u'\'') {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

struct FromItem {
    qsizetype begin; // first character of the item (after the comma or FROM)
    qsizetype end;   // one past its last character (at the comma or WHERE)
};

/// Position of a keyword at parenthesis depth 0 outside literals, at or after `from`; -1 when none.
qsizetype findTopLevelKeyword(const QString& s, const QString& keyword, qsizetype from) {
    int depth = 0;
    for (qsizetype i = from; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'') {
            i = skipLiteral(s, i) - 1;
            continue;
        }
        if (c == u'(') ++depth;
        else if (c == u')') --depth;
        else if (depth == 0 && (i == 0 || !isIdentChar(s[i - 1])) &&
                 s.mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0 &&
                 (i + keyword.size() >= s.size() || !isIdentChar(s[i + keyword.size()]))) {
            return i;
        }
    }
    return -1;
}

QString aliasOf(const QString& item) {
    const QString t = item.trimmed();
    qsizetype end = t.size();
    qsizetype start = end;
    while (start > 0 && isIdentChar(t[start - 1])) --start;
    return t.mid(start, end - start);
}

} // namespace

QString normalisePlaceholders(const QString& sql, QStringList* names) {
    QString out;
    out.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'') {
            const qsizetype end = skipLiteral(sql, i);
            out += QStringView(sql).mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u':' && i + 1 < sql.size() && (isAsciiLetter(sql[i + 1]) || sql[i + 1] == u'_') &&
            (i == 0 || sql[i - 1] != u':')) {
            qsizetype j = i + 1;
            while (j < sql.size() && isIdentChar(sql[j])) ++j;
            const QString name = upperAscii(QStringView(sql).mid(i + 1, j - i - 1));
            out += u':';
            out += name;
            if (names && !names->contains(name)) names->append(name);
            i = j - 1;
            continue;
        }
        out += c;
    }
    return out;
}

QString rewriteConcatenation(const QString& sql) {
    // Tokens: literals are copied whole; a name chain is a run of identifier characters and dots.
    struct Token {
        QString text;
        bool name = false;
    };
    QList<Token> tokens;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == u'\'') {
            const qsizetype end = skipLiteral(sql, i);
            tokens.append({sql.mid(i, end - i), false});
            i = end;
        } else if (isAsciiLetter(c) || c == u'_') {
            qsizetype j = i;
            while (j < sql.size() && (isIdentChar(sql[j]) || sql[j] == u'.')) ++j;
            tokens.append({sql.mid(i, j - i), true});
            i = j;
        } else if (c == u'|' && i + 1 < sql.size() && sql[i + 1] == u'|') {
            tokens.append({QStringLiteral("||"), false});
            i += 2;
        } else {
            tokens.append({QString(c), false});
            ++i;
        }
    }
    auto neighbour = [&](qsizetype k, int step) {
        for (k += step; k >= 0 && k < tokens.size(); k += step) {
            if (!tokens[k].text.trimmed().isEmpty()) return k;
        }
        return qsizetype(-1);
    };
    QList<bool> wrap(tokens.size(), false);
    for (qsizetype k = 0; k < tokens.size(); ++k) {
        if (tokens[k].text != QLatin1String("||")) continue;
        for (int step : {-1, 1}) {
            const qsizetype n = neighbour(k, step);
            if (n < 0 || !tokens[n].name) continue;
            // A function name followed by "(" is not a column.
            const qsizetype after = neighbour(n, 1);
            if (step == 1 && after >= 0 && tokens[after].text == QLatin1String("(")) continue;
            wrap[n] = true;
        }
    }
    QString out;
    for (qsizetype k = 0; k < tokens.size(); ++k)
        out += wrap[k] ? QStringLiteral("COALESCE(") + tokens[k].text + QStringLiteral(",'')") : tokens[k].text;
    return out;
}

QString rewriteOuterJoins(const QString& sql) {
    static const QRegularExpression condition(
        QStringLiteral(R"(([A-Za-z_][\w$#]*\.[A-Za-z_][\w$#]*)\s*=\s*([A-Za-z_][\w$#]*)\.([A-Za-z_][\w$#]*)\s*\(\+\))"));
    QString s = sql;
    for (;;) {
        const QRegularExpressionMatch m = condition.match(s);
        if (!m.hasMatch()) return s;
        const QString left = m.captured(1);
        const QString alias = m.captured(2);
        const QString right = alias + u'.' + m.captured(3);

        const qsizetype fromPos = findTopLevelKeyword(s, QStringLiteral("FROM"), 0);
        const qsizetype wherePos = fromPos < 0 ? -1 : findTopLevelKeyword(s, QStringLiteral("WHERE"), fromPos);
        if (fromPos < 0 || wherePos < 0 || m.capturedStart() < wherePos) return sql; // not a shape we know

        // Split the FROM list at top-level commas.
        QList<FromItem> items;
        qsizetype begin = fromPos + 4;
        int depth = 0;
        for (qsizetype i = begin; i < wherePos; ++i) {
            const QChar c = s[i];
            if (c == u'\'') {
                i = skipLiteral(s, i) - 1;
                continue;
            }
            if (c == u'(') ++depth;
            else if (c == u')') --depth;
            else if (c == u',' && depth == 0) {
                items.append({begin, i});
                begin = i + 1;
            }
        }
        items.append({begin, wherePos});

        qsizetype found = -1;
        for (qsizetype k = 0; k < items.size(); ++k) {
            if (aliasOf(s.mid(items[k].begin, items[k].end - items[k].begin))
                    .compare(alias, Qt::CaseInsensitive) == 0) {
                found = k;
                break;
            }
        }
        if (found < 0 || items.size() < 2) return sql;

        const QString joined = s.mid(items[found].begin, items[found].end - items[found].begin).trimmed();
        QStringList rest;
        for (qsizetype k = 0; k < items.size(); ++k) {
            if (k != found) rest.append(s.mid(items[k].begin, items[k].end - items[k].begin).trimmed());
        }
        const QString fromList = u' ' + rest.join(QStringLiteral(", ")) + QStringLiteral(" LEFT JOIN ") + joined +
                                 QStringLiteral(" ON ") + left + u'=' + right + u' ';

        QString rewritten = s.left(fromPos + 4) + fromList + s.mid(wherePos, m.capturedStart() - wherePos) +
                            QStringLiteral("1=1") + s.mid(m.capturedEnd());
        s = rewritten;
    }
}

} // namespace store
