#pragma once

#include <QString>

namespace marubo {

// Everything the merge run asks of a person. The main window answers with
// message boxes, the selection dialog and its gauge; the batch command answers
// by itself.
class MergeUi {
public:
    virtual ~MergeUi() = default;
    // A warning-type question with the buttons yes and no; true for yes.
    virtual bool confirm(const QString& text) = 0;
    // A message with one OK button.
    virtual void showMessage(const QString& text) = 0;
    // Shows the sub-department selection for the data set the handle AAA2
    // points at. True when it was left by its run button, false for cancel or
    // the close box.
    virtual bool selectSubDepartments() = 0;
    // The gauge: department `position` of 0..maximum.
    virtual void progress(qsizetype position, qsizetype maximum) = 0;
    // Lets a window repaint during a long build.
    virtual void processEvents() = 0;
};

} // namespace marubo
