// varnel dump and varnel pack: the JSON of a model, pack of a dump giving
// the file's bytes back (unusual encodings included), and exit 2 with a
// message for bad files and bad JSON.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/cli/Commands.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"

namespace {

using Bytes = std::vector<uint8_t>;
using nlohmann::json;

// ctest runs every case as its own process, in parallel: each case gets
// its own file names.
std::string TempPath(const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "varnel_cli_" + test->test_suite_name() + "_" + test->name() + "_" + name;
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    const std::string path = TempPath(name);
    WriteFileBytes(path, bytes);
    return path;
}

std::string WriteTempText(const std::string& name, const std::string& text) {
    return WriteTemp(name, Bytes(text.begin(), text.end()));
}

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome Dump(const std::string& path) {
    std::ostringstream out, err;
    const int code = DumpCommand({path}, out, err);
    return {code, out.str(), err.str()};
}

Outcome Pack(const std::string& jsonPath, const std::string& outputPath) {
    std::ostringstream out, err;
    const int code = PackCommand({jsonPath, "-o", outputPath}, out, err);
    return {code, out.str(), err.str()};
}

// Dumps the bytes, packs the dump, and returns the packed bytes.
Bytes DumpThenPack(const Bytes& bytes, const std::string& name) {
    const Outcome dumped = Dump(WriteTemp(name + ".vrn", bytes));
    EXPECT_EQ(dumped.code, 0) << dumped.err;
    EXPECT_EQ(dumped.err.find("byte for byte"), std::string::npos) << dumped.err;
    const std::string jsonPath = WriteTempText(name + ".json", dumped.out);
    const Outcome packed = Pack(jsonPath, TempPath(name + ".packed.vrn"));
    EXPECT_EQ(packed.code, 0) << packed.err;
    return ReadFileBytes(TempPath(name + ".packed.vrn"));
}

}  // namespace

TEST(DumpCommand, OneLineModelAsJson) {
    const Bytes oneLine = ModelFileBytes(
        "00", "01 00 FF FF 01 00 06 00 43 56 4C 69 6E 65  00 00 00 00 02 00 00 00"
              "0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00");
    const Outcome dumped = Dump(WriteTemp("one_line.vrn", oneLine));
    EXPECT_EQ(dumped.code, 0);
    EXPECT_EQ(dumped.out,
              "{\"version\":1.0,\"width\":640,\"height\":480,\"fullScale\":1,\"objects\":[\n"
              "{\"class\":\"CVLine\",\"id\":0,\"points\":[[10,20],[30,40]]}],\n"
              "\"program\":\"\"}\n");
}

TEST(DumpCommand, EveryClassWithItsFields) {
    auto doc = samples::MixedModel(14, "var \xF5 = 1\r\n");  // "х", Cyrillic
    const Outcome dumped = Dump(WriteTemp("every_class.vrn", doc->Store()));
    ASSERT_EQ(dumped.code, 0) << dumped.err;
    const json j = json::parse(dumped.out);
    EXPECT_EQ(j["program"], "var \xD1\x85 = 1\r\n");
    const json& objects = j["objects"];
    ASSERT_EQ(objects.size(), 14u);
    const char* classes[] = {"CVLine", "CVRectangle", "CVEllipse", "CVBSpline", "CVArrow",
                             "CVText", "CVLevel", "CVRate", "CVVariable", "CVTableData",
                             "CVExpert", "CVSwitch", "CVSources", "CVGraphic"};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(objects[i]["class"], classes[i]);
        EXPECT_EQ(objects[i]["id"], i);
    }
    EXPECT_EQ(objects[4]["points"].size(), 5u);
    EXPECT_EQ(objects[5]["text"], "\xD0\xA2\xD0\xB5\xD0\xBA\xD1\x81\xD1\x82 5");  // "Текст 5"
    EXPECT_EQ(objects[6]["description"], "\xD0\xA3\xD1\x80\xD0\xBE\xD0\xB2\xD0\xB5\xD0\xBD\xD1\x8C");
    EXPECT_EQ(objects[7]["value"], -1.25);
    EXPECT_EQ(objects[9]["values"], json::parse("[1.0, 1.5, -0.75, -0.0, 1e300]"));
    EXPECT_EQ(objects[9]["step"], 0.5);
    EXPECT_EQ(objects[11]["value2"], -(0.25 * 11 - 3.0));
    EXPECT_EQ(objects[11]["threshold"], 0.1);
    EXPECT_EQ(objects[12]["points"].size(), 18u);
    EXPECT_EQ(objects[13]["samples"], json::parse("[[0.0, 0.25], [0.1, 0.3333333333333333]]"));
    EXPECT_EQ(objects[13]["color"], 0x00FF8000);
    // Text keeps the sign of zero and the shortest digits.
    EXPECT_NE(dumped.out.find("-0.0,1e+300]"), std::string::npos);
}

TEST(DumpCommand, NonFiniteValuesAsStrings) {
    auto doc = samples::MixedModel(0);
    auto level = std::make_unique<CVLevel>();
    level->m_dValue = std::numeric_limits<double>::quiet_NaN();
    doc->m_pEntityList->Add(std::move(level));
    auto sw = std::make_unique<CVSwitch>();
    sw->m_dValue = HUGE_VAL;
    sw->m_dValue2 = -HUGE_VAL;
    sw->m_dThreshold = -std::numeric_limits<double>::quiet_NaN();
    doc->m_pEntityList->Add(std::move(sw));
    const Bytes bytes = doc->Store();
    const Outcome dumped = Dump(WriteTemp("non_finite.vrn", bytes));
    const json j = json::parse(dumped.out);
    EXPECT_EQ(j["objects"][0]["value"], "nan");
    EXPECT_EQ(j["objects"][1]["value"], "inf");
    EXPECT_EQ(j["objects"][1]["value2"], "-inf");
    EXPECT_EQ(j["objects"][1]["threshold"], "nan:fff8000000000000");
    EXPECT_EQ(DumpThenPack(bytes, "non_finite"), bytes);
}

TEST(PackCommand, DumpOfEveryClassPacksToTheSameBytes) {
    auto doc = samples::MixedModel(42, std::string(300, 'p') + "\r\n\xE0\xFF\x98");
    doc->m_nWidth = -5;
    doc->m_bFullScale = 0;
    const Bytes bytes = doc->Store();
    EXPECT_EQ(DumpThenPack(bytes, "every_class"), bytes);
}

TEST(PackCommand, UnusualEncodingsComeBackByteForByte) {
    const std::string kTwoPoints = " 00000000 02000000 01000000 02000000 03000000 04000000 ";
    const std::vector<Bytes> files = {
        // program in three strings, one empty; a short string behind a long prefix
        ModelFileBytes("03 61 0D 0A  00  FF 01 00 62"),
        // no program string at all between the markers
        ModelFileBytes(""),
        // seven-byte prefix, six-byte count, big class reference, repeated new class
        ModelFileBytes("FF FF FF 01 00 00 00 7A",
                              "FF FF 03 00 00 00" + std::string("FF FF 01 00 06 00 43 56 4C 69 6E 65") + kTwoPoints +
                                  "FF 7F 01 00 00 80" + kTwoPoints +
                                  "FF FF 01 00 06 00 43 56 4C 69 6E 65" + kTwoPoints),
        // bytes after the end marker
        Concat({ModelFileBytes("00"), HexBytes("00 01 02")}),
        // a program that is exactly the end marker, as the program itself writes it
        Concat({ModelFileBytes(kEndMarker), HexBytes(kEndMarker)}),
        // another version: only the version counts
        HexBytes("00 00 00 00 00 00 00 40  01 02 03"),
        HexBytes("01 00 00 00 00 00 F8 7F"),
    };
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(DumpThenPack(files[i], "unusual" + std::to_string(i)), files[i]) << i;
}

TEST(DumpCommand, BadFilesExitWith2) {
    Bytes truncated = ModelFileBytes("00");
    truncated.pop_back();
    for (const Bytes& bad : {truncated, HexBytes("00 00 00"),
                             ModelFileBytes("00", "01 00 FF FF 01 00 04 00 43 56 58 58")}) {
        const Outcome dumped = Dump(WriteTemp("bad.vrn", bad));
        EXPECT_EQ(dumped.code, 2);
        EXPECT_EQ(dumped.out, "");
        EXPECT_NE(dumped.err.find("Bad file format"), std::string::npos) << dumped.err;
    }
    Bytes noMarker = ModelFileBytes("00");
    noMarker[23] = 'X';
    Outcome dumped = Dump(WriteTemp("no_marker.vrn", noMarker));
    EXPECT_EQ(dumped.code, 2);
    EXPECT_NE(dumped.err.find("Internal data error."), std::string::npos);

    dumped = Dump(TempPath("does_not_exist.vrn"));
    EXPECT_EQ(dumped.code, 2);
    EXPECT_NE(dumped.err.find("does_not_exist.vrn"), std::string::npos);

    std::ostringstream out, err;
    EXPECT_EQ(DumpCommand({}, out, err), 2);
    EXPECT_NE(err.str().find("usage"), std::string::npos);
}

namespace {

std::string EmptyModelJson(const std::string& objects, const std::string& extra = "") {
    return R"({"version":1.0,"width":640,"height":480,"fullScale":1,"objects":[)" + objects +
           R"(],"program":"")" + extra + "}";
}

void ExpectPackFails(const std::string& jsonText, const std::string& messagePart) {
    const Outcome packed = Pack(WriteTempText("bad.json", jsonText), TempPath("bad_out.vrn"));
    EXPECT_EQ(packed.code, 2) << jsonText;
    EXPECT_NE(packed.err.find(messagePart), std::string::npos) << packed.err;
}

}  // namespace

TEST(PackCommand, WritesAModelFromHandWrittenJson) {
    const Outcome packed = Pack(WriteTempText("hand.json", EmptyModelJson(
                                    R"({"class":"CVLine","id":0,"points":[[10,20],[30,40]]})")),
                                TempPath("hand.vrn"));
    ASSERT_EQ(packed.code, 0) << packed.err;
    EXPECT_EQ(ReadFileBytes(TempPath("hand.vrn")),
              ModelFileBytes("00", "01 00 FF FF 01 00 06 00 43 56 4C 69 6E 65  00 00 00 00 02 00 00 00"
                                          "0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00"));
}

TEST(PackCommand, BadJsonExitsWith2NamingTheFault) {
    ExpectPackFails("{\"version\":1.0,", "not valid JSON");
    ExpectPackFails("[]", "must be a JSON object");
    ExpectPackFails(R"({"version":1.0,"width":640,"height":480,"objects":[],"program":""})", "\"fullScale\" is missing");
    ExpectPackFails(EmptyModelJson("", R"(,"colour":1)"), "unknown key \"colour\"");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVCircle","id":0,"points":[]})"), "unknown class \"CVCircle\"");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVLine","id":0,"points":[[1,2,3]]})"), "objects[0].points[0]");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVLine","id":2147483648,"points":[]})"), "objects[0].id: is out of range");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVText","id":0,"points":[],"text":"\u2603"})"),
                    "objects[0].text: holds a character that code page 1251 lacks");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVLevel","id":0,"points":[],"name":"a","description":"","value":"x"})"),
                    "objects[0].value: must be a number");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVTableData","id":0,"points":[],"name":"T","description":"",)"
                                   R"("from":0,"to":2,"step":1,"values":[1,2]})"),
                    "holds 2 values but the range from, to, step calls for 3");
    ExpectPackFails(EmptyModelJson("", R"(,"programParts":["a"])"), "do not join");
    ExpectPackFails(EmptyModelJson("", R"(,"trailing":"0g")"), "trailing");
    ExpectPackFails(EmptyModelJson("", R"(,"encoding":{"stringPrefixes":[[0,2]]})"), "1, 3 or 7");
    ExpectPackFails(EmptyModelJson("", R"(,"encoding":{"classTags":[{"tag":0,"newClass":1}]})"), "not a model");

    std::ostringstream out, err;
    EXPECT_EQ(PackCommand({"model.json"}, out, err), 2);
    EXPECT_NE(err.str().find("usage"), std::string::npos);
    EXPECT_EQ(Pack(TempPath("missing.json"), TempPath("x.vrn")).code, 2);
}

// Found by fuzzing: each field was valid on its own, yet pack wrote a file
// that the loader refuses and still reported success.
TEST(PackCommand, RefusesAModelThatWouldNotOpen) {
    ExpectPackFails(EmptyModelJson(R"({"class":"CVText","id":0,"points":[],"text":""})"),
                    "would not open: Bad file format: a CVText record has too few points.");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVArrow","id":3,"points":[[155,200],[1600,10]]})"),
                    "a CVArrow record has too few points");
    std::remove(TempPath("short.vrn").c_str());
    const Outcome packed = Pack(WriteTempText("short.json", EmptyModelJson(
                                    R"({"class":"CVLine","id":0,"points":[[1,2]]})")),
                                TempPath("short.vrn"));
    EXPECT_EQ(packed.code, 2);
    EXPECT_FALSE(std::ifstream(TempPath("short.vrn")).good()) << "no file is written";
}

// The write fails part-way (a file size limit stands in for a full disk):
// the model that was there stays byte for byte, and no temporary remains.
TEST(PackCommand, FailedWriteLeavesTheOldFileUntouched) {
    const std::string program(200000, 'x');
    const std::string jsonPath = WriteTempText("big.json",
        R"({"version":1.0,"width":640,"height":480,"fullScale":1,"objects":[],"program":")" + program + "\"}");
    const Bytes old = ModelFileBytes("00", "");
    const std::string target = WriteTemp("kept.vrn", old);
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{65536, 65536};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const Outcome packed = Pack(jsonPath, target);
        _exit(packed.code == 2 && packed.err.find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "pack did not report the failed write";
    EXPECT_EQ(ReadFileBytes(target), old);
    for (const auto& entry : std::filesystem::directory_iterator(::testing::TempDir()))
        EXPECT_EQ(entry.path().filename().string().find(".varnel_cli_PackCommand_Failed"), std::string::npos);
    ASSERT_EQ(Pack(jsonPath, target).code, 0);
    EXPECT_GT(ReadFileBytes(target).size(), program.size());
}

// Found by fuzzing: the parser reports a number beyond the double range
// with another exception than a syntax error, which escaped and aborted.
TEST(PackCommand, NumberBeyondTheDoubleRangeIsInvalidJson) {
    ExpectPackFails(R"({"version":1.06e688})", "not valid JSON");
    ExpectPackFails(EmptyModelJson(R"({"class":"CVLevel","id":0,"points":[],"name":"a","description":"","value":-1e309})"),
                    "number overflow");
}

TEST(DumpCommand, SaysWhenTheVersionIsNotOne) {
    const Outcome dumped = Dump(WriteTemp("version2.vrn", HexBytes("00 00 00 00 00 00 00 40")));
    EXPECT_EQ(dumped.code, 0);
    EXPECT_EQ(json::parse(dumped.out)["version"], 2.0);
    EXPECT_NE(dumped.err.find("opens as a new empty model"), std::string::npos);
}

TEST(DumpCommand, SaysWhenPackCannotGiveTheBytesBack) {
    // A negative point count loads as no points; pack writes the count 0.
    const Bytes negative = ModelFileBytes(
        "00", "01 00 FF FF 01 00 09 00 43 56 47 72 61 70 68 69 63  00 00 00 00 FE FF FF FF"
              "00 00 00 00  00 00 00 00  00");
    const Outcome dumped = Dump(WriteTemp("negative_count.vrn", negative));
    EXPECT_EQ(dumped.code, 0);
    EXPECT_NE(dumped.out.find("\"points\":[]"), std::string::npos);
    EXPECT_NE(dumped.err.find("does not reproduce byte for byte"), std::string::npos);
}
