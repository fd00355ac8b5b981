// marubo-merge [--workdir DIR] A_FOLDER
// The merge run without a window: opens the A level as the main window does at
// start-up, then merges every department, choosing the sub-departments from
// the marks stored in each B level.

#include "app/MainState.h"
#include "merge/MergeRun.h"
#include "select/BumonSelection.h"
#include "store/EngineError.h"
#include "util/Abort.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace marubo;

namespace {

// Every message goes to standard output, one per line, progress to standard error.
class BatchAnswers : public MainPrompts, public MergeUi {
public:
    explicit BatchAnswers(TDM& dm) : selection_(dm) {}

    void showMessage(const QString& text) override { out_ << text << Qt::endl; }
    bool confirm(const QString&) override { return true; }
    bool selectSubDepartments() override {
        // As the dialog's run button: clear, then recompute from the stored marks.
        selection_.activate();
        selection_.close();
        return true;
    }
    void progress(qsizetype position, qsizetype maximum) override {
        err_ << QStringLiteral("部門 %1/%2").arg(position + 1).arg(maximum + 1) << Qt::endl;
    }
    void processEvents() override {}

private:
    BumonSelection selection_;
    QTextStream out_{stdout};
    QTextStream err_{stderr};
};

const QString kUsage =
    QStringLiteral("使い方: marubo-merge [--workdir DIR] A_FOLDER\n"
                   "\n"
                   "B階層のデータをA階層のデータフォルダに集計します（画面なし）。\n"
                   "起動時のメイン画面と同じようにA階層のフォルダを確かめて開き、部門の一覧にある\n"
                   "すべての部門を、各B階層に保存された「集計対象=1」の指定どおりに集計します。\n"
                   "メッセージは標準出力に一行ずつ、進み具合は標準エラーに出します。\n"
                   "\n"
                   "引数:\n"
                   "  A_FOLDER       A階層のデータフォルダ\n"
                   "\n"
                   "オプション:\n"
                   "  --workdir DIR  作業用フォルダ WKData と設定 HeadM を置く起動フォルダ（既定: "
                   "現在のフォルダ）\n"
                   "  -h, --help     この説明を表示します。\n"
                   "\n"
                   "終了コード:\n"
                   "  0  集計処理が完了した\n"
                   "  1  A階層のフォルダが受け付けられないか、集計処理が途中で止まった\n"
                   "  2  データベースのエラーか、引数の誤り\n");

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marubo-merge"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption workDir(QStringLiteral("workdir"), QString(), QStringLiteral("DIR"));
    parser.addOption(help);
    parser.addOption(workDir);
    if (!parser.parse(app.arguments())) {
        err << parser.errorText() << Qt::endl << Qt::endl << kUsage;
        return 2;
    }
    if (parser.isSet(help)) {
        QTextStream(stdout) << kUsage;
        return 0;
    }
    if (parser.positionalArguments().size() != 1) {
        err << QStringLiteral("A階層のデータフォルダを一つ指定してください。") << Qt::endl
            << Qt::endl
            << kUsage;
        return 2;
    }
    const QString aLevel = QDir(parser.positionalArguments().first()).absolutePath();
    if (parser.isSet(workDir) && !QDir::setCurrent(parser.value(workDir))) {
        err << QStringLiteral("起動フォルダ「%1」がありません。").arg(parser.value(workDir))
            << Qt::endl;
        return 2;
    }

    try {
        TDM dm;
        BatchAnswers answers(dm);
        MainState state(dm, answers);
        state.FormCreate();
        state.rememberedPath();
        try {
            state.init(aLevel);
        } catch (const Abort&) {
            return 1;
        }
        state.prepareWorkFolder();
        TCalc calc(dm);
        MergeRun run(dm, calc, state.Bumon, answers);
        const MergeRun::Outcome outcome = run.run();
        state.FormClose();
        return outcome == MergeRun::Outcome::Completed ? 0 : 1;
    } catch (const store::EngineError& error) {
        err << error.message() << Qt::endl;
    } catch (const Abort&) {
        err << QStringLiteral("集計処理は中断されました。") << Qt::endl;
    }
    return 2;
}
