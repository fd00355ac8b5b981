#include "Recording.h"

namespace marubo::test {

namespace {

using sheet::AutomationError;
using sheet::NamedArgs;
using sheet::ObjectRef;

QString argumentList(const QVariantList& args, const NamedArgs& named = {}) {
    QStringList parts;
    for (const QVariant& arg : args)
        parts << loggedValue(arg);
    for (const auto& [name, value] : named)
        parts << name + QStringLiteral(":=") + loggedValue(value);
    return parts.join(QStringLiteral(", "));
}

class RecordingObject : public sheet::AutomationObject {
public:
    RecordingObject(Recording* recording, QString path)
        : recording_(recording), path_(std::move(path)) {}

    QVariant get(const QString& member, const QVariantList& args) override {
        QString line = pathTo(member);
        if (!args.isEmpty())
            line += QLatin1Char('(') + argumentList(args) + QLatin1Char(')');
        const bool value = member == u"Text" || member == u"Count" || member == u"Name";
        if (value) {
            recording_->add(line);
            if (recording_->values.contains(line))
                return recording_->values.value(line);
            return member == u"Count" ? QVariant(0) : QVariant(QString());
        }
        if (recording_->failing.contains(line))
            recording_->add(line);
        return sheet::objectValue(std::make_shared<RecordingObject>(recording_, line));
    }

    void set(const QString& member, const QVariant& value, const QVariantList& args) override {
        QString line = pathTo(member);
        if (!args.isEmpty())
            line += QLatin1Char('(') + argumentList(args) + QLatin1Char(')');
        recording_->add(line + QStringLiteral(" := ") + loggedValue(value));
    }

    QVariant call(const QString& member, const QVariantList& args,
                  const NamedArgs& named) override {
        recording_->add(pathTo(member) + QLatin1Char('(') + argumentList(args, named) +
                        QLatin1Char(')'));
        return true;
    }

private:
    QString pathTo(const QString& member) const {
        return path_.isEmpty() ? member : path_ + QLatin1Char('.') + member;
    }

    Recording* recording_;
    QString path_;
};

} // namespace

sheet::ObjectRef Recording::application() {
    return std::make_shared<RecordingObject>(this, QString());
}

void Recording::add(const QString& line) {
    log << line;
    if (onLine)
        onLine(line);
    if (failing.contains(line))
        throw AutomationError(QStringLiteral("failing on purpose: ") + line);
}

QString loggedValue(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::QString:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toString();
    default:
        return QStringLiteral("<%1>").arg(QString::fromLatin1(value.metaType().name()));
    }
}

} // namespace marubo::test
