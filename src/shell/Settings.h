#pragma once

#include "ini/IniFile.h"

#include <QString>

namespace shell {

// Default.ini in the program directory: the last login and the order window's
// print options. Yes/no keys hold "T" or "F" and count as set only when "T".
class Settings {
public:
    explicit Settings(const QString& programDir);

    QString loginUser() const;        // [dl] user, default "sa"
    QString loginPassword() const;    // [dl] mm, default "592"
    bool rememberPassword() const;    // [dl] bcmm, default "T"
    int loginCount() const;           // [dl] cs, default 0
    // What every successful login writes.
    void recordLogin(const QString& user, const QString& password, bool remember);

    bool printWithoutPreview() const;      // [xsd] yl, default "T"
    bool printAfterPayment() const;        // [xsd] skdy, default "T"
    bool useTicketFormat() const;          // [xsd] gdxp, default "T"
    void setPrintOptions(bool withoutPreview, bool afterPayment, bool ticketFormat);
    QString ticketPort() const;            // [xsd] port, default "LPT1"

    // Any key; flag() counts only "T" as set.
    QString text(const QString& section, const QString& key, const QString& fallback) const;
    bool flag(const QString& section, const QString& key, bool fallback) const;
    bool setText(const QString& section, const QString& key, const QString& value);
    bool setFlag(const QString& section, const QString& key, bool value);

    QString filePath() const { return file_.path(); }

private:
    mutable ini::IniFile file_;
};

} // namespace shell
