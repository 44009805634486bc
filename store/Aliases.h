#pragma once

#include <QHash>
#include <QString>
#include <optional>

namespace store {

/// Where an alias leads: an embedded SQLite file or an ODBC data source.
struct AliasDefinition {
    enum class Kind { Sqlite, Odbc };
    Kind kind = Kind::Sqlite;
    /// SQLite: the database file (absolute). ODBC: a DSN name or a full connection string.
    QString database;
    /// The driver name the database-kind test reads; empty = the engine's own name.
    QString driverName;
};

/// One problem found while reading the alias file: the line (from 1) and what is wrong with it.
struct AliasFileProblem {
    int line = 0;
    QString what;
};

/// The aliases of an ALIASES.INI text: one section per alias (names compared without letter case),
/// keys DRIVER (SQLITE or ODBC), DATABASE and optional DRIVER NAME. Relative SQLite paths are taken
/// relative to `baseFolder`. Unusable lines are skipped and reported in `problems`.
QHash<QString, AliasDefinition> parseAliases(const QString& text, const QString& baseFolder,
                                             QList<AliasFileProblem>* problems = nullptr);

/// Resolves an alias: from the parsed file when it has a section for it; otherwise the alias LB
/// leads to the demo back office at `demoDatabase`; any other alias is unknown.
std::optional<AliasDefinition> resolveAlias(const QHash<QString, AliasDefinition>& aliases, const QString& alias,
                                            const QString& demoDatabase);

} // namespace store
