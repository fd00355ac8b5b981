// marubo-sample DIR [--departments N] [--subdepartments M] [--accounts K]
//                   [--vouchers V] [--seed S] [--force] [--remember-in START]
// Writes a sample A level (DIR/A) and N B levels (DIR/B01, ...). With
// --remember-in, the program started in START opens the sample's A level.

#include "app/RememberedPath.h"
#include "sample/SampleDataSets.h"
#include "store/EngineError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace marubo;

namespace {

int intOption(const QCommandLineParser& parser, const QString& name, int fallback, bool& ok) {
    if (!parser.isSet(name))
        return fallback;
    bool valid = false;
    const int value = parser.value(name).toInt(&valid);
    if (!valid) {
        QTextStream(stderr) << QStringLiteral("--%1 には整数を指定してください。\n").arg(name);
        ok = false;
    }
    return value;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marubo-sample"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("見本のA階層（DIR/A）とB階層（DIR/B01 …）を作成します。"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("見本を作成するフォルダ"));
    const sample::SampleOptions defaults;
    parser.addOption({QStringLiteral("departments"), QStringLiteral("部門（B階層）の数"),
                      QStringLiteral("N"), QString::number(defaults.departments)});
    parser.addOption({QStringLiteral("subdepartments"), QStringLiteral("B階層ごとの下位部門の数"),
                      QStringLiteral("M"), QString::number(defaults.subDepartments)});
    parser.addOption({QStringLiteral("accounts"), QStringLiteral("科目の数"), QStringLiteral("K"),
                      QString::number(defaults.accounts)});
    parser.addOption({QStringLiteral("vouchers"), QStringLiteral("B階層ごとの伝票の数"),
                      QStringLiteral("V"), QString::number(defaults.vouchers)});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("乱数の種"), QStringLiteral("S"),
                      QString::number(defaults.seed)});
    parser.addOption({QStringLiteral("force"), QStringLiteral("以前の見本のデータを置き換える")});
    parser.addOption({QStringLiteral("remember-in"),
                      QStringLiteral("START で起動したプログラムが見本のA階層を開くように、"
                                     "START の HeadM に記録する"),
                      QStringLiteral("START")});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        err << QStringLiteral("作成先のフォルダを一つ指定してください。\n") << parser.helpText();
        return 2;
    }
    bool ok = true;
    sample::SampleOptions options;
    options.departments = intOption(parser, QStringLiteral("departments"), options.departments, ok);
    options.subDepartments =
        intOption(parser, QStringLiteral("subdepartments"), options.subDepartments, ok);
    options.accounts = intOption(parser, QStringLiteral("accounts"), options.accounts, ok);
    options.vouchers = intOption(parser, QStringLiteral("vouchers"), options.vouchers, ok);
    bool seedOk = true;
    options.seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    if (!seedOk) {
        err << QStringLiteral("--seed には 0 以上の整数を指定してください。\n");
        ok = false;
    }
    options.replace = parser.isSet(QStringLiteral("force"));
    if (!ok)
        return 2;
    try {
        const sample::SampleSummary summary =
            sample::writeSampleDataSets(positional.first(), options);
        out << QStringLiteral("A階層: %1\n").arg(QDir::toNativeSeparators(summary.aLevel));
        for (const QString& folder : summary.bLevels)
            out << QStringLiteral("B階層: %1\n").arg(QDir::toNativeSeparators(folder));
        out << QStringLiteral("伝票明細: %1 行\n").arg(summary.voucherLines);
        if (parser.isSet(QStringLiteral("remember-in"))) {
            const QString start = parser.value(QStringLiteral("remember-in"));
            if (!QDir().mkpath(start)) {
                err << QStringLiteral("フォルダ「%1」を作成できません。\n")
                           .arg(QDir::toNativeSeparators(start));
                return 1;
            }
            const QString path = pathSeenFrom(QDir(start).absolutePath(), summary.aLevel);
            rememberPathIn(start, path);
            out << QStringLiteral("記録したA階層のパス: %1（%2）\n")
                       .arg(path, QDir::toNativeSeparators(start));
        }
        return 0;
    } catch (const sample::SampleError& error) {
        err << error.message() << '\n';
    } catch (const store::EngineError& error) {
        err << error.message() << '\n';
    }
    return 1;
}
