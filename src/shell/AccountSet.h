#pragma once

#include <QString>

namespace sql { class Connection; }

namespace shell {

// The eight tables of an account set, in the order they are created.
inline constexpr const char* kAccountSetTables[] = {
    "XSD_ZB", "XSD_MX", "BM_SP", "BM_SPLB", "BM_YG", "BM_GSXX", "BM_JP", "GG_DJ"};

// Creates the tables, their indexes and width checks on an open, empty connection.
void createSchema(sql::Connection& connection);

// The content of a new account set: the company row, the initial operator "sa"
// with password "592", the three print formats and, with pinyin, the pinyin
// initials of the characters outside the level-1 range of GBK.
void fillInitialContent(sql::Connection& connection, bool withPinyin = true);

// A new account set in a file that does not exist yet; throws sql::Error.
void createAccountSet(const QString& path, bool withPinyin = true);

// True when the open connection holds all eight tables.
bool isAccountSet(sql::Connection& connection);

} // namespace shell
