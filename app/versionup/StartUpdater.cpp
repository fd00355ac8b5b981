#include "StartUpdater.h"

#include <QFile>
#include <QProcess>

namespace marubo {

namespace {

// Adds execute permission wherever read permission is granted. A failure here
// shows up when the start fails, so it is not reported on its own.
void makeExecutable(const QString& program) {
#ifdef Q_OS_UNIX
    QFile file(program);
    const QFileDevice::Permissions permissions = file.permissions();
    QFileDevice::Permissions wanted = permissions | QFileDevice::ExeOwner;
    if (permissions & QFileDevice::ReadGroup)
        wanted |= QFileDevice::ExeGroup;
    if (permissions & QFileDevice::ReadOther)
        wanted |= QFileDevice::ExeOther;
    if (file.exists() && wanted != permissions)
        file.setPermissions(wanted);
#else
    Q_UNUSED(program);
#endif
}

} // namespace

bool startUpdater(const QString& program, const QStringList& arguments) {
    try {
        makeExecutable(program);
        return QProcess::startDetached(program, arguments);
    } catch (...) {
        return false;
    }
}

} // namespace marubo
