#pragma once

#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

namespace marubo::sheet {

// A small late-bound object layer: objects are reached by member name, and
// values travel as QVariant (null, bool, integers, double, text, or an object
// reference). It is how the grid talks to a spreadsheet application without
// knowing its classes.
class AutomationObject;
using ObjectRef = std::shared_ptr<AutomationObject>;

// Named arguments of a method call, in the order they are given.
using NamedArgs = QList<QPair<QString, QVariant>>;

// A call that failed: an unknown member, unfit arguments, or a refusal of the
// object behind it.
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The class cannot be started at all: it is not registered in this process,
// or its server is missing. Other failures of a start are other exceptions.
class ServerUnavailable : public AutomationError {
public:
    using AutomationError::AutomationError;
};

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Reads a property; `args` index it (Workbooks(1), Range("A1:B2"), Cells(1, 1)).
    virtual QVariant get(const QString& member, const QVariantList& args = {}) = 0;
    // Writes a property.
    virtual void set(const QString& member, const QVariant& value,
                     const QVariantList& args = {}) = 0;
    // Calls a method with positional and named arguments.
    virtual QVariant call(const QString& member, const QVariantList& args = {},
                          const NamedArgs& named = {}) = 0;
};

// A value that carries an object.
QVariant objectValue(const ObjectRef& object);
// The object a value carries; throws AutomationError when it carries none.
ObjectRef toObject(const QVariant& value);
// get() of a property that must be an object.
ObjectRef getObject(AutomationObject& object, const QString& member, const QVariantList& args = {});

// The automation classes a process knows, by class name, and the instances
// that are running. A started instance enters itself into the running table
// and leaves it when it quits, so a later caller can attach to it.
class AutomationClasses {
public:
    // Starts a new instance; throws ServerUnavailable when the class cannot be
    // started at all, anything else for other failures.
    using Factory = std::function<ObjectRef(AutomationClasses& classes)>;

    void registerClass(const QString& className, Factory factory);
    void unregisterClass(const QString& className);

    // The running instance of the class; throws AutomationError when none runs.
    ObjectRef getActiveObject(const QString& className) const;
    // A new instance of the class; throws ServerUnavailable when the class is
    // not registered, otherwise whatever its factory throws.
    ObjectRef createObject(const QString& className);

    void registerActiveObject(const QString& className, const ObjectRef& object);
    // Removes `object` from the running table (nothing when another runs).
    void revokeActiveObject(const QString& className, const AutomationObject* object);

    // The table of this process: the in-process spreadsheet application under
    // "Excel.Application", opening the files it shows with the desktop's
    // default program. Tests and the command line replace that entry.
    static AutomationClasses& process();

private:
    std::map<QString, Factory> factories_;
    std::map<QString, ObjectRef> running_;
};

} // namespace marubo::sheet

Q_DECLARE_METATYPE(marubo::sheet::ObjectRef)
