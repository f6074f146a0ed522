#include "cli/command_line.h"

#include "names/database.h"
#include "names/encoding.h"
#include "names/gender.h"
#include "names/name_database.h"
#include "names/random.h"
#include "settings/record.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace tavolin {
namespace {

const QString kHelpHint = u"Hilfe: tavolin --help"_s;

const QString kHelpText = u"Aufruf: tavolin [OPTION …]\n"
                          u"\n"
                          u"Ohne Option öffnet Tavolin sein Fenster. Mit diesen Optionen arbeitet es ohne Fenster:\n"
                          u"\n"
                          u"  --name [--weiblich | --maennlich] [--anfang TEXT] [--anzahl N]\n"
                          u"      Gibt N verschiedene Zufallsnamen aus, einen je Zeile (ohne --anzahl einen;\n"
                          u"      passen weniger, alle). Ohne --weiblich und --maennlich aus beiden\n"
                          u"      Namen-Datenbanken. Mit --anfang nur Namen, die so anfangen: a bis z groß wie\n"
                          u"      klein, Umlaute und ß genau so.\n"
                          u"  --hinzufuegen NAME (--weiblich | --maennlich)\n"
                          u"      Nimmt den Namen in die weibliche bzw. männliche Namen-Datenbank auf.\n"
                          u"  --help      zeigt diese Hilfe\n"
                          u"  --version   zeigt die Version\n"
                          u"\n"
                          u"Statt ae und ue gehen auch die Umlaute: --männlich, --hinzufügen.\n"
                          u"\n"
                          u"Rückgabewert: 0 erledigt; 1 kein passender Name bzw. der Name ist schon da;\n"
                          u"2 fehlerhafter Aufruf, eine Namen-Datenbank nicht lesbar oder der Name nicht\n"
                          u"gespeichert."_s;

// Options of Qt's own that the window takes (QGuiApplication, QApplication,
// the X11 plugin), with a value and without: known here, so that they open
// the window as before instead of failing as unknown ones.
const QStringList kQtOptionsWithValue{u"platform"_s,        u"platformpluginpath"_s,
                                      u"platformtheme"_s,   u"plugin"_s,
                                      u"qwindowgeometry"_s, u"geometry"_s,
                                      u"qwindowtitle"_s,    u"title"_s,
                                      u"qwindowicon"_s,     u"icon"_s,
                                      u"display"_s,         u"style"_s,
                                      u"stylesheet"_s,      u"session"_s,
                                      u"qmljsdebugger"_s};
const QStringList kQtFlags{u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"sync"_s, u"testability"_s};

QString TextOf(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return u"Nicht genügend Arbeitsspeicher"_s;
    return QString::fromUtf8(error.what());
}

int UsageError(Terminal& terminal, const QString& text) {
    terminal.Err(text);
    terminal.Err(kHelpHint);
    return kExitFailed;
}

class Arguments final {
public:
    explicit Arguments(const QStringList& arguments) : arguments_(arguments) {
        // Qt's own options are written with one dash (-platform), and ours
        // may be too.
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser_.addOptions({name, female, male, beginning, count, add, help, version});
        for (const QString& option : kQtOptionsWithValue)
            parser_.addOption(QCommandLineOption(option, QString(), u"WERT"_s));
        for (const QString& option : kQtFlags)
            parser_.addOption(QCommandLineOption(option));
        parsed_ = parser_.parse(arguments);
    }
    Q_DISABLE_COPY_MOVE(Arguments)
    ~Arguments() = default;

    bool Parsed() const { return parsed_; }
    bool IsSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
    bool IsSet(const QString& option) const { return parser_.isSet(option); }
    QString Value(const QCommandLineOption& option) const { return parser_.value(option); }
    // The first unknown option as it was typed, dashes and all.
    QString FirstUnknown() const {
        QString unknown = parser_.unknownOptionNames().value(0);
        for (const QString& argument : arguments_) {
            QString typed = argument.section(u'=', 0, 0);
            while (typed.startsWith(u'-'))
                typed.remove(0, 1);
            if (argument.startsWith(u'-') && typed == unknown)
                return argument.section(u'=', 0, 0);
        }
        return unknown;
    }
    QStringList Positional() const { return parser_.positionalArguments(); }
    // None of the command line's own options, nor anything else: only
    // Qt's, if any.
    bool OpensWindow() const {
        const auto ours = {&name, &female, &male, &beginning, &count, &add, &help, &version};
        return parsed_ && parser_.positionalArguments().isEmpty() &&
               std::none_of(ours.begin(), ours.end(),
                            [this](const QCommandLineOption* option) { return parser_.isSet(*option); });
    }

    const QCommandLineOption name{u"name"_s};
    const QCommandLineOption female{u"weiblich"_s};
    const QCommandLineOption male{{u"maennlich"_s, u"männlich"_s}};
    const QCommandLineOption beginning{u"anfang"_s, QString(), u"TEXT"_s};
    const QCommandLineOption count{u"anzahl"_s, QString(), u"N"_s};
    const QCommandLineOption add{{u"hinzufuegen"_s, u"hinzufügen"_s}, QString(), u"NAME"_s};
    const QCommandLineOption help{{u"help"_s, u"hilfe"_s, u"h"_s, u"?"_s}};
    const QCommandLineOption version{{u"version"_s, u"v"_s}};

private:
    QStringList arguments_;
    QCommandLineParser parser_;
    bool parsed_ = false;
};

// The folder the window would use, filled at the first start as the window
// fills it; what the window shows in a box is said on standard error.
FilePath PreparedFolder(const CommandEnvironment& environment, Terminal& terminal) {
    const FilePath programDir = DirectoryOf(environment.executablePath);
    const QStringList databases{kFemaleDatabaseFile, kMaleDatabaseFile};
    const DataFolderChoice choice = ChooseDataFolder(programDir, environment.dataFolders, databases);
    try {
        if (FillDataFolder(choice, programDir, databases, {kSettingsFile}))
            terminal.Err(MovedDataFolderText(programDir, choice.folder));
    } catch (const std::exception& error) {
        terminal.Err(TextOf(error) + u'.');
    }
    return choice.folder;
}

// Names that cannot be written are kept where the window keeps them; a wait
// for the lock shows nothing.
DatabaseOptions OptionsOf(const CommandEnvironment& environment) {
    DatabaseOptions options;
    options.recoveryFolder = environment.dataFolders.recovery;
    return options;
}

bool Load(NameDatabase& database, Gender gender, Terminal& terminal) {
    try {
        database.Read();
    } catch (const std::exception& error) {
        terminal.Err(u"Konnte Namendatei mit den %1 Namen nicht öffnen (%2)."_s.arg(
            GenderWord(gender, GenderForm::Oblique), TextOf(error)));
        return false;
    }
    database.Parse();
    return true;
}

int DrawNames(std::optional<Gender> chosen, const std::string& beginning, std::size_t count,
              const CommandEnvironment& environment, Terminal& terminal) {
    DatabasePair databases(PreparedFolder(environment, terminal), OptionsOf(environment));
    std::vector<const NameList*> lists;
    for (const Gender gender : kGenders) {
        if (chosen && gender != *chosen)
            continue;
        if (!Load(databases.Of(gender), gender, terminal))
            return kExitFailed;
        lists.push_back(&databases.Of(gender).Names());
    }
    RandomSource random(environment.seed);
    const std::vector<std::string_view> names = DrawDistinctNames(lists, beginning, count, random);
    if (names.empty()) {
        if (!beginning.empty())
            terminal.Err(u"Kein %1 fängt mit „%2“ an."_s.arg(
                chosen ? u"%1 Name"_s.arg(GenderWord(*chosen, GenderForm::Strong)) : u"Name"_s, DecodeName(beginning)));
        else
            terminal.Err(
                chosen ? u"Die %1 Namen-Datenbank enthält keinen Namen."_s.arg(GenderWord(*chosen, GenderForm::Plain))
                       : u"Die Namen-Datenbanken enthalten keinen Namen."_s);
        return kExitNothing;
    }
    for (const std::string_view name : names)
        terminal.Out(DecodeName(name));
    if (names.size() < count)
        terminal.Err(names.size() == 1 ? u"Nur ein Name passt."_s
                                       : u"Nur %1 verschiedene Namen passen."_s.arg(names.size()));
    return kExitDone;
}

int AddName(const QString& text, Gender gender, const CommandEnvironment& environment, Terminal& terminal) {
    const std::optional<std::string> name = EncodeName(text);
    if (name && name->empty()) {
        terminal.Err(u"Der Name ist leer."_s);
        return kExitFailed;
    }
    if (!name || !IsStorableName(*name)) {
        terminal.Err(u"Der Name enthält ein Zeichen, das in der Namen-Datenbank nicht gespeichert werden kann."_s);
        return kExitFailed;
    }
    DatabasePair databases(PreparedFolder(environment, terminal), OptionsOf(environment));
    NameDatabase& database = databases.Of(gender);
    if (!Load(database, gender, terminal))
        return kExitFailed;
    const auto tellNotice = [&] {
        if (const std::optional<std::string> notice = database.TakeRecoveryNotice())
            terminal.Err(QString::fromStdString(*notice));
    };
    NameDatabase::AddResult result{};
    try {
        // Under the file's lock, on top of what the file holds then.
        result = database.Add(*name);
    } catch (const FileError& error) {
        if (!database.IsUnsaved(*name))
            throw;
        // This process ends now: a name not kept in the recovery file is lost.
        terminal.Err(QString::fromUtf8(error.what()) +
                     (database.UnsavedKept()
                          ? u". Der Name ist in %1 gesichert; Tavolin trägt ihn beim nächsten Speichern oder Start "
                            u"ein."_s.arg(database.RecoveryPath().Display())
                          : u". Der Name konnte auch nicht gesichert werden und ist nicht aufgenommen."_s));
        tellNotice();
        return kExitFailed;
    }
    if (database.Recovered() > 0)
        terminal.Err(RecoveredText(database.Recovered(), gender));
    tellNotice();
    if (result == NameDatabase::AddResult::Present) {
        terminal.Err(AlreadyPresentText(gender));
        return kExitNothing;
    }
    terminal.Out(u"„%1“ steht jetzt in der %2 Namen-Datenbank."_s.arg(text, GenderWord(gender, GenderForm::Oblique)));
    return kExitDone;
}

int Run(const Arguments& arguments, const CommandEnvironment& environment, Terminal& terminal) {
    if (!arguments.Parsed()) {
        const QString unknown = arguments.FirstUnknown();
        return UsageError(terminal, unknown.isEmpty()
                                        ? u"Einer Option fehlt ihr Wert, oder sie hat einen, den sie nicht nimmt."_s
                                        : u"Unbekannte Option „%1“."_s.arg(unknown));
    }
    if (!arguments.Positional().isEmpty())
        return UsageError(terminal, u"Unerwartetes Argument „%1“."_s.arg(arguments.Positional().first()));
    if (arguments.IsSet(arguments.help)) {
        for (const QString& line : kHelpText.split(u'\n'))
            terminal.Out(line);
        return kExitDone;
    }
    if (arguments.IsSet(arguments.version)) {
        terminal.Out(QStringLiteral(TAVOLIN_TITLE));
        return kExitDone;
    }
    const bool draw = arguments.IsSet(arguments.name);
    const bool add = arguments.IsSet(arguments.add);
    if (draw == add) {
        return UsageError(terminal, draw ? u"--name und --hinzufuegen gehen nicht zusammen."_s
                                         : u"--weiblich, --maennlich, --anfang und --anzahl gehören zu --name oder "
                                           u"--hinzufuegen."_s);
    }
    if (arguments.IsSet(arguments.female) && arguments.IsSet(arguments.male))
        return UsageError(terminal, u"Entweder --weiblich oder --maennlich, nicht beides."_s);
    std::optional<Gender> gender;
    if (arguments.IsSet(arguments.female))
        gender = Gender::Female;
    else if (arguments.IsSet(arguments.male))
        gender = Gender::Male;

    if (add) {
        if (arguments.IsSet(arguments.beginning) || arguments.IsSet(arguments.count))
            return UsageError(terminal, u"--anfang und --anzahl gehören zu --name."_s);
        if (!gender)
            return UsageError(terminal, u"Sag mit --weiblich oder --maennlich, in welche Namen-Datenbank der Name "
                                        u"gehört."_s);
        return AddName(arguments.Value(arguments.add), *gender, environment, terminal);
    }
    std::size_t count = 1;
    if (arguments.IsSet(arguments.count)) {
        bool number = false;
        count = arguments.Value(arguments.count).toULongLong(&number);
        if (!number || count == 0)
            return UsageError(terminal,
                              u"--anzahl braucht eine Zahl ab 1, nicht „%1“."_s.arg(arguments.Value(arguments.count)));
    }
    const QString beginningText = arguments.Value(arguments.beginning);
    const std::optional<std::string> beginning = EncodeName(beginningText);
    if (!beginning)
        return UsageError(terminal, u"Mit „%1“ fängt kein Name an: Namen enthalten nur Zeichen aus Windows-1252."_s.arg(
                                        beginningText));
    return DrawNames(gender, *beginning, count, environment, terminal);
}

} // namespace

CommandEnvironment CommandEnvironment::FromProgram() {
    const FilePath executable = ExecutableFilePath();
    return {executable, DataFolders::ForExecutable(executable), QRandomGenerator::system()->generate64()};
}

bool OpensWindow(const QStringList& arguments) {
    return Arguments(arguments).OpensWindow();
}

int RunCommand(const QStringList& arguments, const CommandEnvironment& environment, Terminal& terminal) {
    try {
        return Run(Arguments(arguments), environment, terminal);
    } catch (const std::exception& error) {
        terminal.Err(TextOf(error) + u'.');
    } catch (...) {
        terminal.Err(u"Unbekannter Fehler."_s);
    }
    return kExitFailed;
}

std::optional<int> RunCommandLine(int& argc, char** argv) {
    const QStringList arguments = ProgramArguments(argc, argv);
    SystemTerminal terminal;
    if (const Arguments parsed(arguments); parsed.OpensWindow()) {
        if (DisplayInEnvironment() || parsed.IsSet(u"platform"_s))
            return std::nullopt;
        terminal.Err(u"Tavolin braucht eine grafische Oberfläche, doch weder DISPLAY noch WAYLAND_DISPLAY ist "
                     u"gesetzt. Ohne Fenster gibt „tavolin --name“ Namen aus, mehr mit „tavolin --help“."_s);
        return 1;
    }
    // Qt Core's services (the executable's path on Windows, the locks) want
    // an application object; no window is made.
    const QCoreApplication application(argc, argv);
    return RunCommand(arguments, CommandEnvironment::FromProgram(), terminal);
}

} // namespace tavolin
