#include "Automation.h"

namespace marubo::sheet {

AutomationError::AutomationError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

QVariant objectValue(const ObjectRef& object) {
    return QVariant::fromValue(object);
}

ObjectRef toObject(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<ObjectRef>()) {
        if (ObjectRef object = value.value<ObjectRef>())
            return object;
    }
    throw AutomationError(QStringLiteral("The value is not an object."));
}

ObjectRef getObject(AutomationObject& object, const QString& member, const QVariantList& args) {
    return toObject(object.get(member, args));
}

void AutomationClasses::registerClass(const QString& className, Factory factory) {
    factories_[className] = std::move(factory);
}

void AutomationClasses::unregisterClass(const QString& className) {
    factories_.erase(className);
    running_.erase(className);
}

ObjectRef AutomationClasses::getActiveObject(const QString& className) const {
    const auto found = running_.find(className);
    if (found == running_.end())
        throw AutomationError(QStringLiteral("No instance of %1 is running.").arg(className));
    return found->second;
}

ObjectRef AutomationClasses::createObject(const QString& className) {
    const auto found = factories_.find(className);
    if (found == factories_.end())
        throw ServerUnavailable(QStringLiteral("The class %1 is not registered.").arg(className));
    // A copy: the factory may register or replace classes while it runs.
    const Factory factory = found->second;
    ObjectRef object = factory(*this);
    if (!object)
        throw ServerUnavailable(QStringLiteral("The class %1 gave no instance.").arg(className));
    return object;
}

void AutomationClasses::registerActiveObject(const QString& className, const ObjectRef& object) {
    running_[className] = object;
}

void AutomationClasses::revokeActiveObject(const QString& className,
                                           const AutomationObject* object) {
    const auto found = running_.find(className);
    if (found != running_.end() && found->second.get() == object)
        running_.erase(found);
}

} // namespace marubo::sheet
