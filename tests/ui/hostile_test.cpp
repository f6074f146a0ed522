#include "fileio/fileio.h"
#include "names/encoding.h"
#include "names/merge.h"
#include "settings/record.h"
#include "support/folder_state.h"
#include "support/form_fixture.h"
#include "support/form_peer.h"
#include "support/list_strings.h"
#include "support/reference_names.h"
#include "support/window_parts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <set>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace tavolin::test {
namespace {

using namespace Qt::StringLiterals;
using Message = ScriptedPlatform::Message;

// Where a hostile input is put.
enum class Place { Database, ForeignDatabase, SettingsFile };

// Files from 1 MiB on are checked by their counts; the plain reference split
// would take too long for them.
constexpr std::size_t kReferenceLimit = 1 << 20;

std::string EveryByte() {
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

// One line of 50 MiB without any break: distinct names of seven letters,
// each closed by the separator.
std::string LineOf50MiB() {
    constexpr std::size_t kSize = 50u << 20;
    std::string bytes;
    bytes.reserve(kSize);
    for (std::size_t n = 0; bytes.size() + 8 <= kSize; ++n) {
        std::size_t rest = n;
        for (int i = 0; i < 7; ++i, rest /= 26)
            bytes.push_back(static_cast<char>('a' + rest % 26));
        bytes.push_back('\xB3');
    }
    return bytes;
}

std::string LongText(std::size_t size) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + i % 26);
    return text;
}

// A name of 100,000 bytes; in a settings file it is the font name of an
// otherwise valid record.
std::string NameOf100000Bytes(Place place) {
    if (place == Place::SettingsFile) {
        RecordLines record = kDefaultRecord;
        record[kFontNameLine] = LongText(100000);
        return RecordFileBytes(record);
    }
    return "Anna\xB3" + LongText(100000) + "\xB3\r\n";
}

struct Hostile {
    const char* name;
    enum Kind { Bytes, Folder, Fifo, Vanished } kind;
    std::string (*bytes)(Place);
};

// clang-format off
const Hostile kHostile[] = {
    {"Empty", Hostile::Bytes, [](Place) { return std::string(); }},
    {"NoSeparator", Hostile::Bytes, [](Place) { return std::string("Anna\r\nBerta\r\nClara"); }},
    {"NulBytes", Hostile::Bytes, [](Place) { return std::string("\0Anna\xB3" "Be\0rta\xB3\0\r\n\0", 17); }},
    {"EveryByteValue", Hostile::Bytes, [](Place) { return EveryByte(); }},
    {"BytesUndefinedInWindows1252", Hostile::Bytes,
     [](Place) { return std::string("\x81\xB3\x8D\xB3\x8F\xB3\x90\xB3\x9D\xB3" "A\x81\x8D\x8F\x90\x9DZ\xB3"); }},
    {"CrOnlyBreaks", Hostile::Bytes, [](Place) { return std::string("Anna\xB3\rBerta\xB3\rCl\rara\xB3\r"); }},
    {"MixedBreaks", Hostile::Bytes,
     [](Place) { return std::string("An\r\nna\xB3\rBer\nta\xB3\n\rCla\r\rra\xB3\r\n\nEva"); }},
    {"OneLineOf50MiB", Hostile::Bytes, [](Place) { return LineOf50MiB(); }},
    {"NameOf100000Bytes", Hostile::Bytes, NameOf100000Bytes},
    {"Folder", Hostile::Folder, nullptr},
    {"Fifo", Hostile::Fifo, nullptr},
    {"VanishedFile", Hostile::Vanished, nullptr},
};
// clang-format on
constexpr int kHostileCount = static_cast<int>(std::size(kHostile));

std::string InputName(const ::testing::TestParamInfo<int>& param) {
    return kHostile[param.param].name;
}

std::string DatabaseAndInputName(const ::testing::TestParamInfo<std::tuple<bool, int>>& param) {
    const auto [female, index] = param.param;
    return std::string(female ? "Female_" : "Male_") + kHostile[index].name;
}

class HostileFixture : public FormFixture {
protected:
    // Puts the input at the path; returns its bytes (none for what is no
    // file). A vanished file was there when it was chosen and is gone now.
    std::string Put(const QString& path, const Hostile& input, Place place) {
        QFile::remove(path);
        switch (input.kind) {
        case Hostile::Bytes: {
            std::string bytes = input.bytes(place);
            WriteBytes(path, bytes);
            return bytes;
        }
        case Hostile::Folder:
            EXPECT_TRUE(QDir().mkdir(path));
            break;
        case Hostile::Fifo:
            EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            break;
        case Hostile::Vanished:
            WriteBytes(path, "Anna\xB3");
            QFile::remove(path);
            break;
        }
        return {};
    }

    // The names of a database file, with the count of its separators and,
    // for files of reasonable size, the plain split.
    static void ExpectNamesOf(const std::string& bytes, const NameList& names) {
        EXPECT_EQ(names.size(), static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\xB3')));
        if (bytes.size() < kReferenceLimit) {
            EXPECT_EQ(NamesOf(names), ReferenceParse(ReferenceLines(bytes)).first);
        }
    }
};

// A hostile file as fnames.dat or mnames.dat at start-up: its names are read
// by the split rule, or it is reported as unreadable and the program ends;
// nothing is written either way.
class HostileDatabaseTest : public HostileFixture, public ::testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(HostileDatabaseTest, IsReadOrReportedAtStartUp) {
    const auto [female, index] = GetParam();
    const Hostile& input = kHostile[index];
    const QString file = female ? u"fnames.dat"_s : u"mnames.dat"_s;
    const std::string bytes = Put(ProgramFile(file), input, Place::Database);
    const FolderState before = StateOf(programDir_.path());
    CreateForm();
    EXPECT_EQ(StateOf(programDir_.path()), before);
    const NameList& names =
        female ? FormPeer::Databases(*form_).female.Names() : FormPeer::Databases(*form_).male.Names();

    if (input.kind != Hostile::Bytes) {
        const QString text = female ? u"Konnte Namendatei mit den weiblichen Namen nicht öffnen."_s
                                    : u"Konnte Namendatei mit den männlichen Namen nicht öffnen."_s;
        EXPECT_EQ(platform_.messages, (std::vector<Message>{{text, u"Fehler"_s, MessageIcon::Stop}}));
        EXPECT_GE(platform_.quitRequests, 1);
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(CountCaptions(), CountCaptions(0, 0));
        EXPECT_TRUE(CloseForm()); // ends without writing the settings
        EXPECT_EQ(StateOf(programDir_.path()), before);
        return;
    }

    EXPECT_EQ(platform_.quitRequests, 0);
    ExpectNamesOf(bytes, names);
    if (bytes.size() < kReferenceLimit) {
        EXPECT_EQ((female ? FormPeer::Databases(*form_).female.Lines() : FormPeer::Databases(*form_).male.Lines())
                      .FileBytes(),
                  ReferenceFile(ReferenceLines(bytes)));
    }
    const std::size_t other = female ? 2 : 3; // the names of the fixture's other database
    EXPECT_EQ(CountCaptions(), female ? CountCaptions(names.size(), other) : CountCaptions(other, names.size()));
    // The start name comes from a list; only an empty one gives the list's
    // index error instead.
    const auto* shown = Control<QLineEdit>("Edit1");
    if (platform_.messages.empty()) {
        const std::optional<std::string> name = EncodeName(shown->text());
        ASSERT_TRUE(name);
        if (shown->text().size() < shown->maxLength()) {
            EXPECT_TRUE(FormPeer::Databases(*form_).female.Names().contains(*name) ||
                        FormPeer::Databases(*form_).male.Names().contains(*name));
        }
    } else {
        EXPECT_EQ(platform_.messages,
                  std::vector<Message>{GeneralError("Listenindex außerhalb des zulässigen Bereichs")});
        EXPECT_TRUE(names.empty());
    }

    // The statistics take the names in: a row for every length up to the
    // longest name below 200, and one for each longer length that occurs.
    platform_.messages.clear();
    std::size_t longestShort = 0;
    std::set<std::size_t> longLengths;
    for (const NameList* list :
         {&FormPeer::Databases(*form_).female.Names(), &FormPeer::Databases(*form_).male.Names()}) {
        for (const std::string_view name : *list) {
            if (name.size() < 200)
                longestShort = std::max(longestShort, name.size());
            else
                longLengths.insert(name.size());
        }
    }
    Control<QPushButton>("Button7")->click();
    Control<QPushButton>("Button9")->click();
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(static_cast<std::size_t>(Control<QListWidget>("ListBox1")->count()),
              longestShort + 1 + longLengths.size());
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileDatabaseTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Range(0, kHostileCount)),
                         DatabaseAndInputName);

// A hostile foreign database chosen in the open dialog: it loads by the split
// rule and merges as the one-by-one search does, or its open error reaches
// the general error display; loading writes nothing.
class HostileForeignTest : public HostileFixture, public ::testing::WithParamInterface<int> {};

TEST_P(HostileForeignTest, IsLoadedAndMergedOrReported) {
    const Hostile& input = kHostile[GetParam()];
    CreateForm();
    platform_.messages.clear();
    const QString path = QDir::toNativeSeparators(foreignDir_.filePath(u"foreign.dat"_s));
    const std::string bytes = Put(path, input, Place::ForeignDatabase);
    const FolderState program = StateOf(programDir_.path());
    const FolderState foreign = StateOf(foreignDir_.path());
    ClickLoad(path);
    EXPECT_EQ(StateOf(programDir_.path()), program);
    EXPECT_EQ(StateOf(foreignDir_.path()), foreign);
    const NameList& mergeNames = FormPeer::MergeNames(*form_);

    // What is no file, and a file with NUL bytes (no text at all), is
    // refused; nothing is loaded then.
    if (input.kind != Hostile::Bytes || bytes.find('\0') != std::string::npos) {
        EXPECT_EQ(platform_.messages,
                  std::vector<Message>{
                      GeneralError(input.kind != Hostile::Bytes ? OpenErrorText(path) : NoDatabaseErrorText(path))});
        EXPECT_EQ(Control<QLabel>("Panel8")->text(), u"Keine Datei geladen"_s);
        EXPECT_EQ(Control<QLabel>("Panel9")->text(), u"Keine Datei geladen"_s);
        EXPECT_FALSE(Control<QPushButton>("Button6")->isEnabled());
        EXPECT_TRUE(mergeNames.empty());
        return;
    }

    // A file without separator is a list of one name a line.
    std::string asDatabase = bytes.find('\xB3') == std::string::npos ? "" : bytes;
    for (const std::string& line : asDatabase.empty() ? ReferenceLines(bytes) : Strings{})
        asDatabase += line.empty() ? "" : line + '\xB3';
    EXPECT_EQ(platform_.messages.size(), mergeNames.empty() ? 1u : 0u);
    EXPECT_EQ(Control<QLabel>("Panel8")->text(), path);
    ExpectNamesOf(asDatabase, mergeNames);
    EXPECT_EQ(Control<QLabel>("Panel9")->text(), LoadedCaption(mergeNames.size()));
    ASSERT_EQ(Control<QPushButton>("Button6")->isEnabled(), !mergeNames.empty());
    if (mergeNames.empty())
        return;

    // The merge writes the female database only.
    const std::string male = ReadBytes(FormPeer::MaleDatabasePath(*form_));
    const std::size_t femaleBefore = FormPeer::Databases(*form_).female.Names().size();
    ClickMerge(true);
    const std::string written = ReadBytes(FormPeer::FemaleDatabasePath(*form_));
    std::size_t added = FormPeer::Databases(*form_).female.Names().size() - femaleBefore;
    if (bytes.size() < kReferenceLimit) {
        const ReferenceMerge expected = ReferenceMergeOf(std::string(kFemaleBytes), asDatabase);
        EXPECT_EQ(written, expected.file);
        EXPECT_EQ(NamesOf(FormPeer::Databases(*form_).female.Names()), expected.names);
        added = expected.added;
    } else {
        EXPECT_EQ(written, FormPeer::Databases(*form_).female.Lines().FileBytes());
        NameList reread;
        ParseNameLines(LineList::FromFileBytes(written), reread);
        EXPECT_EQ(reread.size(), FormPeer::Databases(*form_).female.Names().size());
    }
    EXPECT_EQ(platform_.messages, std::vector<Message>{MergeSuccess(added)});
    EXPECT_EQ(ReadBytes(FormPeer::MaleDatabasePath(*form_)), male);
    EXPECT_EQ(StateOf(foreignDir_.path()), foreign);
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileForeignTest, ::testing::Range(0, kHostileCount), InputName);

// A hostile settings file: start-up goes on silently and writes nothing; the
// close writes the record of what the window took in, or, where no file can
// be written, reports it and stays open.
class HostileSettingsTest : public HostileFixture, public ::testing::WithParamInterface<int> {};

TEST_P(HostileSettingsTest, IsIgnoredOrAppliedSilently) {
    const Hostile& input = kHostile[GetParam()];
    const QString path = ProgramFile(u"tavolin.ini"_s);
    Put(path, input, Place::SettingsFile);
    const FolderState before = StateOf(programDir_.path());
    CreateForm();
    EXPECT_EQ(StateOf(programDir_.path()), before);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(platform_.quitRequests, 0);
    EXPECT_EQ(CountCaptions(), CountCaptions(3, 2));

    const std::string female = ReadBytes(FormPeer::FemaleDatabasePath(*form_));
    const std::string male = ReadBytes(FormPeer::MaleDatabasePath(*form_));
    form_->show();
    if (input.kind == Hostile::Folder) {
        EXPECT_TRUE(form_->close()); // reported, and closed all the same
        EXPECT_EQ(platform_.messages, std::vector<Message>{GeneralError(
                                          CreateErrorText(JoinPath(FormPeer::ProgramDir(*form_), kSettingsFile)))});
        EXPECT_EQ(StateOf(programDir_.path()), before);
        return;
    }
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(platform_.messages.empty());
    // Only a whole record is taken in, and none from a file far larger than
    // a record (the one with a font name of 100,000 bytes).
    EXPECT_EQ(ReadBytes(path), RecordFileBytes(kDefaultRecord));
    EXPECT_EQ(ReadBytes(FormPeer::FemaleDatabasePath(*form_)), female);
    EXPECT_EQ(ReadBytes(FormPeer::MaleDatabasePath(*form_)), male);
}

INSTANTIATE_TEST_SUITE_P(Inputs, HostileSettingsTest, ::testing::Range(0, kHostileCount), InputName);

} // namespace
} // namespace tavolin::test
