#include "PackageLayouts.h"

#include "store/SqlScript.h"
#include "store/WorkScripts.h"

namespace marubo::sample {

using store::fieldDefFromDeclaration;
using store::TableLayout;

namespace {

// The package shares these layouts with the work folder.
TableLayout workLayout(const QString& name) {
    for (const TableLayout& layout : store::layoutsOfScript(store::workFolderScript()))
        if (layout.name == name)
            return layout;
    Q_UNREACHABLE();
}

TableLayout withUnusedFlags(TableLayout layout) {
    for (const char* flag : {"FlgM", "FlgN", "FlgP"})
        layout.fields << fieldDefFromDeclaration(QString::fromLatin1(flag),
                                                 QStringLiteral("INTEGER"));
    return layout;
}

} // namespace

TableLayout anbunwariLayout(int ratioColumns) {
    TableLayout layout;
    layout.name = QStringLiteral("anbunwari");
    layout.fields << fieldDefFromDeclaration(QStringLiteral("kamoku_CD"),
                                             QStringLiteral("VARCHAR(5)"))
                  << fieldDefFromDeclaration(QStringLiteral("科目名"),
                                             QStringLiteral("VARCHAR(40)"))
                  << fieldDefFromDeclaration(QStringLiteral("按分区分"), QStringLiteral("SMALLINT"))
                  << fieldDefFromDeclaration(QStringLiteral("合計"), QStringLiteral("INTEGER"))
                  << fieldDefFromDeclaration(QStringLiteral("FlgA"), QStringLiteral("SMALLINT"))
                  << fieldDefFromDeclaration(QStringLiteral("備考"), QStringLiteral("VARCHAR(20)"));
    for (int n = 1; n <= ratioColumns; ++n)
        layout.fields << fieldDefFromDeclaration(QStringLiteral("比率%1").arg(n),
                                                 QStringLiteral("INTEGER"));
    layout.primaryKey = {QStringLiteral("kamoku_CD")};
    return layout;
}

QList<TableLayout> aLevelLayouts() {
    QList<TableLayout> layouts;
    for (const char* name : {"Head", "BUMON", "Mkamoku", "Mkamoku2", "Mhojokamoku", "denpyou1",
                             "kamoku", "kamoku2", "hojokamoku"})
        layouts << workLayout(QString::fromLatin1(name));
    return layouts;
}

QList<TableLayout> bLevelLayouts(int ratioColumns) {
    TableLayout bumon = workLayout(QStringLiteral("BUMON"));
    bumon.name = QStringLiteral("Bumon");
    return {workLayout(QStringLiteral("Head")),
            bumon,
            withUnusedFlags(workLayout(QStringLiteral("Mkamoku"))),
            withUnusedFlags(workLayout(QStringLiteral("Mkamoku2"))),
            workLayout(QStringLiteral("Mhojokamoku")),
            workLayout(QStringLiteral("hojokamoku")),
            workLayout(QStringLiteral("denpyou1")),
            anbunwariLayout(ratioColumns)};
}

} // namespace marubo::sample
