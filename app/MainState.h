#pragma once

#include "store/DataModule.h"

#include <QString>

namespace marubo {

// What the main window's logic asks of a person: a message in the default
// message box with one OK button.
class MainPrompts {
public:
    virtual ~MainPrompts() = default;
    virtual void showMessage(const QString& text) = 0;
};

// The main window without widgets: the start-up directory, the remembered
// A-level path and its validation (init), the department list and its guard.
// The window and the batch command both drive it.
class MainState {
public:
    MainState(TDM& dm, MainPrompts& prompts);
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    // The main window's process-wide values.
    QString StartDir;        // the current directory when the window was created
    bool BumonReady = false; // the department list is open and on its first row

    // Remembers the start-up directory and makes and points at the work folder.
    void FormCreate();
    // The remembered A-level path, with a trailing separator; creates HeadM
    // first when it is missing. Engine errors propagate.
    QString rememberedPath();
    // Runs the work folder's creation script and sets the program name.
    void prepareWorkFolder();
    // Validates `pathText` as the A-level folder and opens its department list.
    // Stops early with marubo::Abort after its message (or silently for an
    // empty path); engine errors propagate.
    void init(const QString& pathText);
    // The path a browse result is written as: relative to the start-up
    // directory when inside it, with a trailing separator.
    QString browsedPath(const QString& chosenFolder) const;
    // Sets the folder of the department on the list's current row.
    void setCurrentDepartmentPath(const QString& path);
    // Posts a pending edit of the list (errors ignored) and closes it.
    void FormClose();

    // The folder of the work data, with a trailing separator.
    QString workFolder() const;

    TDM& dm;
    store::Session DefaultSession; // the engine's default session, for HeadM
    store::Query MakeHeadM;        // creates HeadM in the start-up directory
    store::Table HeadM;            // the remembered path
    store::Table Bumon;            // the department list: the A level's BUMON, code > 0
    store::Table Table2;           // asks whether a folder holds a head table
    store::Table kamokuTestTB;     // asks whether a field exists

private:
    [[noreturn]] void stop(const QString& message);
    void openHeadM();

    MainPrompts& prompts_;
};

} // namespace marubo
