// varnel dump and pack: the JSON of every class, a dump packing to the same
// bytes, and a failed write that leaves the old model.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "Cli.h"
#include "support/ModelBytes.h"

namespace {

// A whole golden text with each line that ends in '\\' joined to the next,
// that line's leading blanks dropped.
std::string JoinedContinuations(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const bool bGoesOn = end > at && text[end - 1] == '\\';
        out += text.substr(at, end - at - (bGoesOn ? 1 : 0));
        at = end + 1;
        if (bGoesOn) at = std::min(text.find_first_not_of(" ", at), text.size());
        else if (end < text.size()) out += '\n';
    }
    return out;
}

using Bytes = std::vector<uint8_t>;

// Dumps the bytes, packs the dump, and returns the packed bytes.
Bytes DumpThenPack(const Bytes& bytes) {
    const Outcome dumped = Call(DumpCommand, {WriteTemp("model.vrn", bytes)});
    EXPECT_EQ(dumped.code, 0) << dumped.err;
    EXPECT_EQ(dumped.err.find("byte for byte"), std::string::npos) << dumped.err;
    const Outcome packed = Call(PackCommand, {WriteTemp("model.json", dumped.out), "-o", TempPath("packed.vrn")});
    EXPECT_EQ(packed.code, 0) << packed.err;
    return ReadFileBytes(TempPath("packed.vrn"));
}

// The dump of every class with its fields, Cyrillic text, the sign of zero,
// the shortest digits and values that are no finite number is the golden
// file; pack of a dump gives the bytes back, whatever their encoding.
TEST(DumpCommand, WritesTheGoldenJsonAndPackGivesTheBytesBack) {
    auto doc = samples::MixedModel(14, "var \xF5 = 1\r\n");
    // New elements as they come, with their default names.
    for (CVEntity* e : std::initializer_list<CVEntity*>{new CVLevel, new CVSwitch})
        doc->m_pEntityList->Add(std::unique_ptr<CVEntity>(e));
    static_cast<CVLevel*>(doc->m_pEntityList->GetAt(14))->m_dValue = std::nan("");
    auto* sw = static_cast<CVSwitch*>(doc->m_pEntityList->GetAt(15));
    sw->m_dValue = HUGE_VAL, sw->m_dValue2 = -HUGE_VAL, sw->m_dThreshold = -std::nan("");
    std::ifstream golden(std::string(VARNEL_SOURCE_DIR) + "/tests/cli/every-class.json", std::ios::binary);
    EXPECT_EQ(Call(DumpCommand, {WriteTemp("every_class.vrn", doc->Store())}).out,
              JoinedContinuations(std::string(std::istreambuf_iterator<char>(golden), {})));

    auto big = samples::MixedModel(42, std::string(300, 'p') + "\r\n\xE0\xFF\x98");
    big->m_nWidth = -5;
    big->m_bFullScale = 0;
    const std::string kTwoPoints = " 00000000 02000000 01000000 02000000 03000000 04000000 ";
    const std::string kLineClass = "FF FF 01 00 06 00 43 56 4C 69 6E 65";
    const std::vector<Bytes> files = {
        doc->Store(), big->Store(),
        // program in three strings, one empty; a short string behind a long prefix
        ModelFileBytes("03 61 0D 0A  00  FF 01 00 62"),
        ModelFileBytes(""),  // no program string at all between the markers
        // seven-byte prefix, six-byte count, big class reference, repeated new class
        ModelFileBytes("FF FF FF 01 00 00 00 7A", "FF FF 03 00 00 00" + kLineClass + kTwoPoints + "FF 7F 01 00 00 80" +
                                                      kTwoPoints + kLineClass + kTwoPoints),
        Concat({ModelFileBytes("00"), HexBytes("00 01 02")}),  // bytes after the end marker
        // a program that is exactly the end marker, as the program itself writes it
        Concat({ModelFileBytes(kEndMarker), HexBytes(kEndMarker)}),
    };
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(DumpThenPack(files[i]), files[i]) << i;
}

TEST(DumpCommand, SaysWhenPackCannotGiveTheBytesBack) {
    // A series with negative point and sample counts loads with none; pack writes 0.
    const std::string series = "01 00 FF FF 01 00 09 00 43 56 47 72 61 70 68 69 63 00000000 FEFFFFFF FFFFFFFF 05000000 00";
    const Outcome dumped = Call(DumpCommand, {WriteTemp("negative.vrn", ModelFileBytes("00", series))});
    EXPECT_EQ(dumped.code, 0);
    EXPECT_NE(dumped.out.find("\"points\":[],\"text\":\"\",\"color\":5,\"samples\":[]"), std::string::npos);
    EXPECT_NE(dumped.err.find("does not reproduce byte for byte"), std::string::npos);
}

// The write fails part-way (a file size limit stands in for a full disk):
// the model that was there stays byte for byte, and no temporary remains.
TEST(PackCommand, FailedWriteLeavesTheOldFileUntouched) {
    const std::string program(200000, 'x');
    const std::string json = WriteTemp("big.json", ModelJson("", "", program));
    const Bytes old = ModelFileBytes("00", "");
    const std::string target = WriteTemp("kept.vrn", old);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{65536, 65536};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const Outcome packed = Call(PackCommand, {json, "-o", target});
        _exit(packed.code == 2 && packed.err.find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "pack did not report the failed write";
    EXPECT_EQ(ReadFileBytes(target), old);
    for (const auto& entry : std::filesystem::directory_iterator(::testing::TempDir()))
        EXPECT_EQ(entry.path().filename().string().find(".varnel_cli_FailedWrite"), std::string::npos);
}

}  // namespace
