#include "platform/storage/sqlite/SchemaSql.h"

#include "platform/storage/sqlite/Collations.h"

namespace platform::storage::sqlite {

namespace {

const char* columnType(FieldType type)
{
    switch (type) {
    case FieldType::Real:
        return "REAL";
    case FieldType::String:
        return "TEXT";
    default:
        return "INTEGER";
    }
}

const char* typeName(FieldType type)
{
    switch (type) {
    case FieldType::Byte:
        return "BYTE";
    case FieldType::Short:
        return "SHORT";
    case FieldType::Long:
        return "LONG";
    case FieldType::Real:
        return "REAL";
    default:
        return "STRING";
    }
}

} // namespace

std::string quoteName(const std::string& name)
{
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

SchemaSql::SchemaSql(const FileLayout& layout)
    : m_layout(layout)
    , m_description(describe())
    , m_insert(makeInsert())
    , m_update(makeUpdate())
    , m_erase("DELETE FROM records WHERE rowid = ?1")
    , m_count("SELECT count(*) FROM records")
    , m_empty("DELETE FROM records")
    , m_byRowid(std::string("SELECT ") + columns() + " FROM records WHERE rowid = ?1")
{
    for (const bool forward : {false, true}) {
        m_fileFromEnd[forward] = makeFileFromEnd(forward);
        m_fileAfter[forward] = makeFileAfter(forward);
    }
    for (std::size_t k = 0; k < layout.keys.size(); ++k) {
        const int key = static_cast<int>(k);
        KeyQueries queries;
        for (const bool forward : {false, true}) {
            queries.fromEnd[forward] = makeKeyFromEnd(key, forward);
            for (std::size_t equal = 0; equal <= layout.keys[k].fields.size(); ++equal)
                queries.segment[forward].push_back(makeKeySegment(key, static_cast<int>(equal), forward));
        }
        queries.equal = makeKeyEqual(key);
        m_keys.push_back(std::move(queries));
    }
}

const std::string& SchemaSql::keyFromEnd(int key, bool forward) const
{
    return m_keys[static_cast<std::size_t>(key)].fromEnd[forward];
}

const std::string& SchemaSql::keySegment(int key, int equalCount, bool forward) const
{
    return m_keys[static_cast<std::size_t>(key)].segment[forward][static_cast<std::size_t>(equalCount)];
}

const std::string& SchemaSql::keyEqual(int key) const
{
    return m_keys[static_cast<std::size_t>(key)].equal;
}

std::string SchemaSql::describe() const
{
    std::string text = std::string("record ") + std::to_string(m_layout.recordSize) + "\n";
    for (const FieldDef& field : m_layout.fields)
        text += std::string("field ") + field.name + " " + typeName(field.type) + " " + std::to_string(field.size)
                + "\n";
    for (const KeyDef& key : m_layout.keys) {
        text += std::string("key ") + key.name + (key.unique ? " unique" : " duplicates")
                + (key.noCase ? " nocase" : " case") + (key.optional ? " optional" : "")
                + (key.primary ? " primary" : "");
        for (const int field : key.fields) {
            text += ' ';
            text += std::to_string(field);
        }
        text += "\n";
    }
    return text;
}

std::string SchemaSql::indexName(int key) { return "key_" + std::to_string(key + 1); }

std::string SchemaSql::createIndex(int key, const std::string& schema) const
{
    const KeyDef& def = m_layout.keys[static_cast<std::size_t>(key)];
    std::string index = std::string(def.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ")
                        + (schema.empty() ? std::string() : schema + ".") + indexName(key)
                        + " ON records (";
    for (std::size_t c = 0; c < def.fields.size(); ++c)
        index += (c ? ", " : "") + component(def.fields[c], def);
    index += ")";
    const std::string filter = keyFilter(def);
    if (!filter.empty())
        index += std::string(" WHERE ") + filter;
    return index;
}

std::vector<std::string> SchemaSql::create() const
{
    std::vector<std::string> statements;
    std::string table = "CREATE TABLE records (";
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        const FieldDef& field = m_layout.fields[i];
        table += (i ? ", " : "") + quoteName(field.name) + " " + columnType(field.type) + " NOT NULL";
    }
    statements.push_back(table + ")");
    for (std::size_t k = 0; k < m_layout.keys.size(); ++k)
        statements.push_back(createIndex(static_cast<int>(k), {}));
    statements.push_back("CREATE TABLE layout (description TEXT NOT NULL)");
    return statements;
}

std::string SchemaSql::columns() const
{
    std::string text = "rowid";
    for (const FieldDef& field : m_layout.fields)
        text += std::string(", ") + quoteName(field.name);
    return text;
}

std::string SchemaSql::component(int field, const KeyDef& key) const
{
    const FieldDef& def = m_layout.fields[static_cast<std::size_t>(field)];
    std::string text = quoteName(def.name);
    if (def.type == FieldType::String)
        text += std::string(" COLLATE ") + (key.noCase ? NoCaseCollation : CaseCollation);
    return text;
}

std::string SchemaSql::keyFilter(const KeyDef& key) const
{
    if (!key.optional)
        return {};
    // Strings are stored without trailing blanks, so a blank one is ''.
    std::string text = "(";
    for (std::size_t c = 0; c < key.fields.size(); ++c) {
        const FieldDef& def = m_layout.fields[static_cast<std::size_t>(key.fields[c])];
        text += (c ? " OR " : "") + quoteName(def.name)
                + (def.type == FieldType::String ? " <> ''" : " <> 0");
    }
    return text + ")";
}

std::string SchemaSql::orderFrom(const KeyDef& key, std::size_t first, bool forward) const
{
    const char* direction = forward ? "" : " DESC";
    std::string text = " ORDER BY ";
    for (std::size_t c = first; c < key.fields.size(); ++c)
        text += component(key.fields[c], key) + direction + ", ";
    return text + "rowid" + direction;
}

std::string SchemaSql::limit(const KeyDef& key) const
{
    return " LIMIT ?" + std::to_string(key.fields.size() + 2);
}

std::string SchemaSql::makeInsert() const
{
    std::string names;
    std::string values;
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        names += (i ? ", " : "") + quoteName(m_layout.fields[i].name);
        values += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    return "INSERT INTO records (" + names + ") VALUES (" + values + ")";
}

std::string SchemaSql::makeUpdate() const
{
    std::string text = "UPDATE records SET ";
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i)
        text += (i ? ", " : "") + quoteName(m_layout.fields[i].name) + " = ?" + std::to_string(i + 1);
    return text + " WHERE rowid = ?" + std::to_string(m_layout.fields.size() + 1);
}

std::string SchemaSql::makeFileFromEnd(bool forward) const
{
    return "SELECT " + columns() + " FROM records ORDER BY rowid" + (forward ? "" : " DESC")
           + " LIMIT ?2";
}

std::string SchemaSql::makeFileAfter(bool forward) const
{
    return "SELECT " + columns() + " FROM records WHERE rowid " + (forward ? ">" : "<")
           + " ?1 ORDER BY rowid" + (forward ? "" : " DESC") + " LIMIT ?2";
}

std::string SchemaSql::fileFrom() const
{
    return "SELECT " + columns() + " FROM records WHERE rowid >= ?1 ORDER BY rowid";
}

std::string SchemaSql::makeKeyFromEnd(int key, bool forward, bool rowidsOnly,
                                      const std::string& condition) const
{
    const KeyDef& def = m_layout.keys[static_cast<std::size_t>(key)];
    std::string where = keyFilter(def);
    if (!condition.empty())
        where += (where.empty() ? "" : " AND ") + condition;
    return "SELECT " + (rowidsOnly ? std::string("rowid") : columns()) + " FROM records"
           + (rowidsOnly ? std::string(" INDEXED BY ") + indexName(key) : std::string())
           + (where.empty() ? "" : std::string(" WHERE ") + where) + orderFrom(def, 0, forward) + limit(def);
}

std::string SchemaSql::makeKeySegment(int key, int equalCount, bool forward, bool rowidsOnly,
                                      const std::string& condition) const
{
    // SQLite uses an index for a row-value comparison only without collations, so the
    // comparison (c1..ck, rowid) > (v1..vk, r) is run as its k+1 disjoint, index-ordered parts.
    const KeyDef& def = m_layout.keys[static_cast<std::size_t>(key)];
    const auto equal = static_cast<std::size_t>(equalCount);
    const char* beyond = forward ? " > ?" : " < ?";
    std::string where = keyFilter(def);
    for (std::size_t c = 0; c < equal; ++c)
        where += (where.empty() ? "" : " AND ") + component(def.fields[c], def) + " = ?"
                 + std::to_string(c + 1);
    if (equal == def.fields.size())
        where += (where.empty() ? "rowid" : " AND rowid") + std::string(beyond)
                 + std::to_string(def.fields.size() + 1);
    else
        where += (where.empty() ? "" : " AND ") + component(def.fields[equal], def) + beyond
                 + std::to_string(equal + 1);
    if (!condition.empty())
        where += std::string(" AND ") + condition;
    return "SELECT " + (rowidsOnly ? std::string("rowid") : columns()) + " FROM records"
           + (rowidsOnly ? std::string(" INDEXED BY ") + indexName(key) : std::string())
           + " WHERE " + where + orderFrom(def, equal, forward) + limit(def);
}

std::string SchemaSql::filteredFile(bool positioned, bool forward, const std::string& condition) const
{
    std::string where = positioned ? std::string("rowid ") + (forward ? ">" : "<") + " ?1 AND " : "";
    return "SELECT " + columns() + " FROM records WHERE " + where + condition + " ORDER BY rowid"
           + (forward ? "" : " DESC") + " LIMIT ?2";
}

std::string SchemaSql::keyOrderScan(int key, const std::string& expression) const
{
    const KeyDef& def = m_layout.keys[static_cast<std::size_t>(key)];
    const std::string where = keyFilter(def);
    return "SELECT rowid, " + expression + " FROM records INDEXED BY "
           + indexName(key) + (where.empty() ? "" : " WHERE " + where)
           + orderFrom(def, 0, true);
}

std::string SchemaSql::filteredKeyFromEnd(int key, bool forward, const std::string& condition) const
{
    return makeKeyFromEnd(key, forward, true, condition);
}

std::string SchemaSql::filteredKeySegment(int key, int equalCount, bool forward,
                                          const std::string& condition) const
{
    return makeKeySegment(key, equalCount, forward, true, condition);
}

std::string SchemaSql::conditionProbe(const std::string& condition) const
{
    return "SELECT rowid FROM records WHERE rowid > ?1 AND rowid < ?2 AND ((" + condition
           + ")) LIMIT ?3";
}

std::string SchemaSql::makeKeyEqual(int key) const
{
    const KeyDef& def = m_layout.keys[static_cast<std::size_t>(key)];
    std::string where = keyFilter(def);
    for (std::size_t c = 0; c < def.fields.size(); ++c)
        where += (where.empty() ? "" : " AND ") + component(def.fields[c], def) + " = ?"
                 + std::to_string(c + 1);
    return "SELECT " + columns() + " FROM records WHERE " + where + " ORDER BY rowid LIMIT 1";
}

} // namespace platform::storage::sqlite
