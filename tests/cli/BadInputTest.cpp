// Every command refuses bad input before it does anything: exit 2, nothing
// on standard output, a message naming the fault. Files that are no model
// go to every command that reads one; pack then writes nothing.
#include <filesystem>

#include "Cli.h"
#include "support/ModelBytes.h"

namespace {

using Command = int (*)(const CommandArgs&, std::ostream&, std::ostream&);

TEST(Commands, BadInputExitsTwoWithAMessageAndNoOutput) {
    // L6 a level, T9 a table, E11 a switch; a and b variables.
    auto doc = samples::MixedModel(12, "graphic g\r\nplot g a b");
    for (const char* description : {"variable a 0", "variable b 0"}) doc->m_pEntityList->Add(CorpusElement(description));
    const std::string model = WriteTemp("model.vrn", doc->Store()), missing = TempPath("missing.vrn");
    const std::string packed = TempPath("packed.vrn");
    std::vector<std::tuple<Command, CommandArgs, std::string>> cases = {
        {DumpCommand, {}, "usage"}, {DumpCommand, {missing}, "missing.vrn"},
        {PackCommand, {"model.json"}, "usage"}, {PackCommand, {TempPath("missing.json"), "-o", packed}, "missing.json"},
        {CheckCommand, {model, model}, "usage"}, {CheckCommand, {"--all"}, "unknown option '--all'"},
        {DumpCommand, {model, "--pretty"}, "unknown option '--pretty'"}, {PackCommand, {"m.json", "-o"}, "-o needs a value"},
        {RunModelCommand, {}, "usage"}, {RunModelCommand, {missing}, "cannot read model '" + missing + "'"},
        {RunModelCommand, {model, "--format", "xml"}, "unknown format 'xml'"},
        {RunModelCommand, {model, "--max-steps", "ten"}, "not 'ten'"},
        {RunModelCommand, {model, "--set", "T9=1"}, "'T9'"},
        {SweepCommand, {model}, "usage"},  // nothing to vary
        {SweepCommand, {model, "--vary", "a=1:2"}, "expected NAME=FROM:TO:COUNT"},
        {SweepCommand, {model, "--vary", "a=1:2:0"}, "COUNT of 'a=1:2:0' must be"},
        {SweepCommand, {model, "--vary", "a=x:2:3"}, "FROM and TO of 'a=x:2:3' must be numbers"},
        {SweepCommand, {model, "--vary", "c=1:2:3"}, "'c'"},  // no such value
        {SweepCommand, {model, "--vary", "a=1:2:3", "--set", "a=9"}, "more than once"},
        {SweepCommand, {model, "--vary", "a=1:2:3", "--jobs", "0"}, "not '0'"},
        {SweepCommand, {model, "--vary", "a=1:2:3000000", "--vary", "b=1:2:3000000", "--vary", "E11.value2=1:2:3000000"},
         "more than"},
    };
    std::vector<uint8_t> truncated = ModelFileBytes("00"), noMarker = ModelFileBytes("00");
    truncated.pop_back();
    noMarker[23] = 'X';
    // One file for each failure the loader reports; its own corpora hold the ways to them.
    const std::pair<std::vector<uint8_t>, const char*> files[] = {
        {truncated, "Bad file format"}, {noMarker, "Internal data error."},
        {HexBytes(R"(7B 22 76 65 72 73 69 6F 6E 22 3A)"), "not a Varnel model"},
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        const std::string path = WriteTemp("bad" + std::to_string(i) + ".vrn", files[i].first);
        for (Command command : {DumpCommand, CheckCommand, RunModelCommand}) cases.push_back({command, {path}, files[i].second});
        cases.push_back({SweepCommand, {path, "--vary", "a=1:2:3"}, files[i].second});
    }
    // Some found by fuzzing: a number beyond the double range escaped as
    // another exception, and models of fields each valid on their own were
    // written although the loader refuses them.
    const std::pair<std::string, const char*> json[] = {
        {R"({"version":1.06e688})", "not valid JSON"},
        {R"({"version":2.0,"width":640,"height":480,"fullScale":1,"objects":[],"program":""})", "not a Varnel model"},
        {"[]", "must be a JSON object"},
        {R"({"version":1.0,"width":640,"height":480,"objects":[],"program":""})", "\"fullScale\" is missing"},
        {ModelJson("", R"(,"colour":1)"), "unknown key \"colour\""},
        {ModelJson(R"({"class":"CVCircle","id":0,"points":[]})"), "unknown class \"CVCircle\""},
        {ModelJson(R"({"class":"CVLine","id":0,"points":[[1,2,3]]})"), "objects[0].points[0]"},
        {ModelJson(R"({"class":"CVLine","id":2147483648,"points":[]})"), "objects[0].id: is out of range"},
        {ModelJson(R"({"class":"CVText","id":0,"points":[],"text":"\u2603"})"),
         "objects[0].text: holds a character that code page 1251 lacks"},
        {ModelJson(R"({"class":"CVLevel","id":0,"points":[],"name":"a","description":"","value":"x"})"),
         "objects[0].value: must be a number"},
        {ModelJson(R"({"class":"CVTableData","id":0,"points":[],"name":"T","description":"","from":0,"to":2,)"
                   R"("step":1,"values":[1,2]})"),
         "holds 2 values but the range from, to, step calls for 3"},
        {ModelJson("", R"(,"programParts":["a"])"), "do not join"},
        {ModelJson("", R"(,"trailing":"0g")"), "trailing"},
        {ModelJson("", R"(,"encoding":{"stringPrefixes":[[0,2]]})"), "1, 3 or 7"},
        {ModelJson("", R"(,"encoding":{"classTags":[{"tag":0,"newClass":1}]})"), "not a model"},
        {ModelJson(R"({"class":"CVText","id":0,"points":[],"text":""})"),
         "would not open: Bad file format: a CVText record has too few points."},
    };
    for (size_t i = 0; i < std::size(json); ++i)
        cases.push_back({PackCommand, {WriteTemp("bad" + std::to_string(i) + ".json", json[i].first), "-o", packed},
                         json[i].second});
    std::filesystem::remove(packed);
    for (const auto& [command, args, message] : cases) {
        const Outcome r = Call(command, args);
        SCOPED_TRACE(args.empty() ? "no arguments" : args[0] + (args.size() > 1 ? " " + args[1] : ""));
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("model ''"), std::string::npos) << r.err;  // stopped at the fault, not at no model
    }
    EXPECT_FALSE(std::filesystem::exists(packed)) << "pack wrote a model it refused";
}

}  // namespace
