#include "velmora_fixture.h"

#include "core/app/app_state.h"
#include "core/app/settings.h"
#include "core/data/loader.h"
#include "core/data/master_data.h"
#include "core/mating/points.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace velmora::gui::test {

namespace {

QString SampleDir()
{
    return qEnvironmentVariableIsSet("VELMORA_SAMPLE") ? qEnvironmentVariable("VELMORA_SAMPLE")
                                                       : QStringLiteral(VELMORA_SAMPLE_DIR);
}

} // namespace

bool WorkFolder::SampleAvailable()
{
    return !QDir(SampleDir()).entryList({ QStringLiteral("*.CSV") }, QDir::Files).isEmpty();
}

WorkFolder::WorkFolder()
    : WorkFolder(SampleDir())
{
}

WorkFolder::WorkFolder(const QString& sourceDir)
{
    if (!m_dir.isValid())
        return;
    const QDir src(sourceDir);
    for (const QString& f : src.entryList(QDir::Files))
        QFile::copy(src.filePath(f), m_dir.filePath(f));

    AppState& app = App();
    app.StartDir = Path();
    app.DataDir = Path();
    app.IniName = u"velmora.INI";
    app.IniFile = std::make_unique<IniFile>(Path() + "velmora.INI");
    app.DataFiles = DefaultDataFiles();
    app.FontName = u"IPAPGothic";
    app.FontSize = 12;
    app.FixFontName = u"IPAGothic";
    app.FixFontSize = 12;
    app.ScreenWidth = 800;
    app.ScreenHeight = 600;
    ReadBands(app);
    Load();
}

WorkFolder::~WorkFolder()
{
    App().IniFile.reset();
}

bool WorkFolder::Load()
{
    const LoadResult r = GetMasterData(Master(), App().DataDir, App().DataFiles);
    m_loaded = r.completed;
    if (!r.completed)
        for (const std::u16string& m : r.messages)
            qWarning("%s", qPrintable(Q(m)));
    return m_loaded;
}

std::string WorkFolder::Path() const
{
    return QDir(m_dir.path()).absolutePath().toStdString() + "/";
}

QString WorkFolder::File(const QString& name) const
{
    return m_dir.filePath(name);
}

void ChooseByTyping(QComboBox* combo, const QString& name)
{
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    edit->insert(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->itemText(i));
    return items;
}

} // namespace velmora::gui::test
