#include "store/Aliases.h"

#include <QDir>
#include <QRegularExpression>

namespace store {

QHash<QString, AliasDefinition> parseAliases(const QString& text, const QString& baseFolder,
                                             QList<AliasFileProblem>* problems) {
    QHash<QString, AliasDefinition> result;
    struct Pending {
        QString driver, database, driverName;
        int line = 0;
    };
    QHash<QString, Pending> sections;
    QString current;
    auto problem = [&](int line, const QString& what) {
        if (problems) problems->append({line, what});
    };

    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int number = i + 1;
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3) {
                problem(number, QStringLiteral("section name without closing bracket"));
                current.clear();
                continue;
            }
            current = line.mid(1, line.size() - 2).trimmed().toUpper();
            sections[current].line = number;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            problem(number, QStringLiteral("line is neither a section nor a key = value"));
            continue;
        }
        if (current.isEmpty()) {
            problem(number, QStringLiteral("key outside any alias section"));
            continue;
        }
        const QString key = line.left(eq).trimmed().toUpper();
        const QString value = line.mid(eq + 1).trimmed();
        Pending& p = sections[current];
        if (key == QLatin1String("DRIVER")) p.driver = value.toUpper();
        else if (key == QLatin1String("DATABASE")) p.database = value;
        else if (key == QLatin1String("DRIVER NAME")) p.driverName = value;
        else problem(number, QStringLiteral("unknown key ") + key);
    }

    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        const Pending& p = it.value();
        AliasDefinition def;
        if (p.driver == QLatin1String("SQLITE")) {
            def.kind = AliasDefinition::Kind::Sqlite;
        } else if (p.driver == QLatin1String("ODBC")) {
            def.kind = AliasDefinition::Kind::Odbc;
        } else {
            problem(p.line, QStringLiteral("alias ") + it.key() + QStringLiteral(": DRIVER must be SQLITE or ODBC"));
            continue;
        }
        if (p.database.isEmpty()) {
            problem(p.line, QStringLiteral("alias ") + it.key() + QStringLiteral(": DATABASE is missing"));
            continue;
        }
        def.database = p.database;
        if (def.kind == AliasDefinition::Kind::Sqlite && QDir::isRelativePath(def.database))
            def.database = QDir(baseFolder).absoluteFilePath(def.database);
        def.driverName = p.driverName;
        result.insert(it.key(), def);
    }
    return result;
}

std::optional<AliasDefinition> resolveAlias(const QHash<QString, AliasDefinition>& aliases, const QString& alias,
                                            const QString& demoDatabase) {
    const auto it = aliases.constFind(alias.toUpper());
    if (it != aliases.cend()) return it.value();
    if (alias.compare(QLatin1String("LB"), Qt::CaseInsensitive) == 0) {
        AliasDefinition def;
        def.kind = AliasDefinition::Kind::Sqlite;
        def.database = demoDatabase;
        return def;
    }
    return std::nullopt;
}

} // namespace store
