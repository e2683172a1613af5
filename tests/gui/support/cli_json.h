#pragma once
// velmora-cli run from a window test on the test's data directory, so that a window can be checked
// against the core's own answer for the same input.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

namespace velmora::gui::test {

// What velmora-cli prints on its standard output for `--data dataDir args`; empty when it does not
// finish in time.
inline QByteArray CliOutput(const QString& dataDir, const QStringList& args, int timeoutMs = 30000)
{
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI_PATH), QStringList { QStringLiteral("--data"), dataDir } + args);
    if (!cli.waitForFinished(timeoutMs))
        return {};
    return cli.readAllStandardOutput();
}

// The JSON object velmora-cli prints for `--data dataDir args`; empty when it does not finish in 30 s.
inline QJsonObject CliJson(const QString& dataDir, const QStringList& args)
{
    return QJsonDocument::fromJson(CliOutput(dataDir, args)).object();
}

} // namespace velmora::gui::test
