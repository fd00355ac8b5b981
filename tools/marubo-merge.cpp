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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marubo-merge"));
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "B階層のデータをA階層のデータフォルダに集計します（画面なし）。\n"
        "A階層の部門の一覧にあるすべての部門を、各B階層に保存された「集計対象=1」の"
        "指定どおりに集計し、メッセージを標準出力に、進み具合を標準エラーに出します。\n"
        "終了コード: 0 完了、1 A階層のフォルダが受け付けられないか集計が途中で止まった、"
        "2 データベースのエラーか引数の誤り。"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示します。"));
    const QCommandLineOption workDir(
        QStringLiteral("workdir"),
        QStringLiteral("作業用フォルダ WKData と設定 HeadM を置く起動フォルダ"
                       "（既定: 現在のフォルダ）"),
        QStringLiteral("DIR"));
    parser.addOption(help);
    parser.addOption(workDir);
    parser.addPositionalArgument(QStringLiteral("A_FOLDER"),
                                 QStringLiteral("A階層のデータフォルダ"));
    if (!parser.parse(app.arguments())) {
        err << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.positionalArguments().size() != 1) {
        err << QStringLiteral("A階層のデータフォルダを一つ指定してください。") << Qt::endl
            << parser.helpText();
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
