#include "shell/Password.h"

#include "shell/DataModule.h"
#include "sql/Dialect.h"

namespace shell {

PasswordChange changeOperatorPassword(TDM_CS& dataModule, const QString& oldPassword, const QString& newPassword,
                                      const QString& repeatedPassword) {
    dataset::Dataset& query = dataModule.SQL_1;
    query.setCommandText(QStringLiteral("select MM from BM_YG where BM=") + sql::quoted(dataModule.OperatorCode));
    query.open();
    query.first();
    if (oldPassword != query.field(0).asString())
        return {false, QStringLiteral("原密码错！")};
    if (newPassword.isEmpty())
        return {false, QStringLiteral("新密码不能为空！")};
    if (newPassword != repeatedPassword)
        return {false, QStringLiteral("新密码与验证密码不一致！")};
    dataModule.ADOConnection1.execute(QStringLiteral("update BM_YG set MM=") + sql::quoted(newPassword)
                                      + QStringLiteral(" where BM=") + sql::quoted(dataModule.OperatorCode));
    return {true, QStringLiteral("密码修改成功！")};
}

} // namespace shell
