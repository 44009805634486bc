#pragma once

#include <QString>
#include <QStringList>

namespace store {

/// Upper-cases every named placeholder (":idpog" becomes ":IDPOG") outside quoted literals and
/// collects the distinct names in order of first appearance. Parameter names thus match
/// without regard to letter case whatever the driver does with them.
QString normalisePlaceholders(const QString& sql, QStringList* names);

/// Rewrites the outer-join notation "A.X=B.Y(+)" of a statement into an equivalent
/// "LEFT JOIN <item B> ON A.X=B.Y" for engines that do not know the notation.
/// The item whose alias is B is taken out of the top-level FROM list and joined at its end;
/// the condition is replaced by "1=1" so that the surrounding ANDs stay valid.
/// A statement without the notation is returned unchanged.
QString rewriteOuterJoins(const QString& sql);

/// Oracle joins texts with "||" treating NULL as an empty text; SQLite gives NULL. Column operands
/// of "||" (plain or qualified names) are wrapped as COALESCE(name,'') so both engines agree.
/// Literals and other operands are left as they are.
QString rewriteConcatenation(const QString& sql);

} // namespace store
