#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace store {

/// Hash for the short names of columns and parameters: FNV-1a over the UTF-16 units. Names are
/// looked up for every value of every row; this costs a fraction of the general string hash.
struct NameHash {
    std::size_t operator()(const QString& name) const noexcept {
        std::uint64_t h = 14695981039346656037ULL;
        for (const QChar c : name) {
            h ^= c.unicode();
            h *= 1099511628211ULL;
        }
        return static_cast<std::size_t>(h);
    }
};

/// A map keyed by column or parameter name.
template <class Value>
using NameMap = std::unordered_map<QString, Value, NameHash>;

/// `name` in upper case; the same text, not a copy, when it has no lower-case letters (the usual case).
inline QString upperName(const QString& name) {
    for (const QChar c : name) {
        if ((c >= u'a' && c <= u'z') || c.unicode() >= 0x80) return name.toUpper();
    }
    return name;
}

} // namespace store
