#include "shell/Settings.h"

#include <QDir>

namespace shell {
namespace {

const QString kLogin = QStringLiteral("dl");
const QString kOrder = QStringLiteral("xsd");

QString flagText(bool value) {
    return value ? QStringLiteral("T") : QStringLiteral("F");
}

} // namespace

Settings::Settings(const QString& programDir)
    : file_(QDir(programDir).filePath(QStringLiteral("Default.ini"))) {}

QString Settings::text(const QString& section, const QString& key, const QString& fallback) const {
    file_.reload();  // another window may have written since
    return file_.value(section, key, fallback);
}

bool Settings::flag(const QString& section, const QString& key, bool fallback) const {
    return text(section, key, flagText(fallback)) == QLatin1String("T");
}

bool Settings::setText(const QString& section, const QString& key, const QString& value) {
    return file_.setValue(section, key, value);
}

bool Settings::setFlag(const QString& section, const QString& key, bool value) {
    return setText(section, key, flagText(value));
}

QString Settings::loginUser() const { return text(kLogin, QStringLiteral("user"), QStringLiteral("sa")); }
QString Settings::loginPassword() const { return text(kLogin, QStringLiteral("mm"), QStringLiteral("592")); }
bool Settings::rememberPassword() const { return flag(kLogin, QStringLiteral("bcmm"), true); }
int Settings::loginCount() const { return text(kLogin, QStringLiteral("cs"), QStringLiteral("0")).trimmed().toInt(); }

void Settings::recordLogin(const QString& user, const QString& password, bool remember) {
    const int count = loginCount();
    setText(kLogin, QStringLiteral("user"), user);
    setText(kLogin, QStringLiteral("mm"), password);
    setFlag(kLogin, QStringLiteral("bcmm"), remember);
    setText(kLogin, QStringLiteral("cs"), QString::number(count + 1));
}

bool Settings::printWithoutPreview() const { return flag(kOrder, QStringLiteral("yl"), true); }
bool Settings::printAfterPayment() const { return flag(kOrder, QStringLiteral("skdy"), true); }
bool Settings::useTicketFormat() const { return flag(kOrder, QStringLiteral("gdxp"), true); }
QString Settings::ticketPort() const { return text(kOrder, QStringLiteral("port"), QStringLiteral("LPT1")); }

void Settings::setPrintOptions(bool withoutPreview, bool afterPayment, bool ticketFormat) {
    setFlag(kOrder, QStringLiteral("yl"), withoutPreview);
    setFlag(kOrder, QStringLiteral("skdy"), afterPayment);
    setFlag(kOrder, QStringLiteral("gdxp"), ticketFormat);
}

} // namespace shell
