// Runs off the caller's thread: a model's copy runs exactly as the diagram
// it was taken from, even after that diagram is gone, and a newer request
// stops the run going, which reports itself cancelled.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "diagram/Elements.h"
#include "diagram/TableElements.h"
#include "graphs/Graphic.h"
#include "interpreter/BackgroundRun.h"
#include "interpreter/ModelSnapshot.h"

namespace {

// A table, a switch and a level, read by a program that plots all three.
std::unique_ptr<EntityList> Diagram() {
    auto list = std::make_unique<EntityList>();
    auto table = std::make_unique<CVTableData>();
    table->m_strName = "T";
    table->m_dFrom = 0.0;
    table->m_dTo = 2.0;
    table->m_dStep = 1.0;
    table->m_data = {1.0, 4.0, 9.0};
    list->Add(std::move(table));
    auto sw = std::make_unique<CVSwitch>();
    sw->m_strText = "S";
    sw->m_dValue = -1.0;
    sw->m_dValue2 = 1.0;
    sw->m_dThreshold = 0.5;
    list->Add(std::move(sw));
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "L";
    level->m_dValue = 0.25;
    list->Add(std::move(level));
    return list;
}

const std::string kProgram =
    "var x\r\nvar y\r\ngraphic g\r\nmark top\r\nset y = T(x) + S(x) + L\r\nplot g x y\r\nset x = x + 0.125\r\n"
    "if x < 2.5\r\ngoto top";

std::vector<CSample> Samples(const BuildGraphsResult& result) {
    return result.outcome == RunOutcome::Ok && result.series.size() == 1 ? result.series[0]->m_samples
                                                                          : std::vector<CSample>{};
}

}  // namespace

TEST(ModelSnapshot, RunsAsTheDiagramAfterItIsGoneAndSeesChanges) {
    auto diagram = Diagram();
    const std::vector<CSample> expected = Samples(BuildGraphs(diagram.get(), kProgram));
    ASSERT_EQ(expected.size(), 20u);
    CModelSnapshot snapshot(diagram.get(), kProgram);
    EXPECT_TRUE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram)));
    EXPECT_FALSE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram + "\r\n")));
    static_cast<CVTableData*>(diagram->GetAt(0))->m_data[2] = 10.0;
    EXPECT_FALSE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram)));
    diagram.reset();
    const std::vector<CSample> copied = Samples(BuildGraphs(snapshot.List(), snapshot.Program()));
    ASSERT_EQ(copied.size(), expected.size());
    for (size_t i = 0; i < copied.size(); ++i) {
        EXPECT_EQ(copied[i].x, expected[i].x);
        EXPECT_EQ(copied[i].y, expected[i].y);
    }
}

TEST(BackgroundRun, NewerRequestCancelsTheRunGoingAndOnlyStartedRunsReport) {
    std::mutex mutex;
    std::vector<std::pair<uint64_t, RunOutcome>> finished;
    std::vector<CSample> lastSamples;
    auto runner = std::make_unique<CBackgroundRun>([&](uint64_t nTicket, BuildGraphsResult result) {
        const std::lock_guard lock(mutex);
        finished.emplace_back(nTicket, result.outcome);
        lastSamples = Samples(result);
    });
    auto diagram = Diagram();
    auto endless = std::make_shared<const CModelSnapshot>(diagram.get(), "mark a\r\ngoto a");
    auto model = std::make_shared<const CModelSnapshot>(diagram.get(), kProgram);
    auto waitFor = [&](auto condition) {
        for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return condition();
    };

    EXPECT_EQ(runner->Submit({endless, {}, 0}), 1u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 1; }));
    EXPECT_EQ(runner->Submit({model, {{"L", 100.0}}, 0}), 2u);
    ASSERT_TRUE(waitFor([&] {
        const std::lock_guard lock(mutex);
        return finished.size() == 2;
    }));
    {
        const std::lock_guard lock(mutex);
        EXPECT_EQ(finished[0], std::make_pair(uint64_t{1}, RunOutcome::Cancelled));
        EXPECT_EQ(finished[1], std::make_pair(uint64_t{2}, RunOutcome::Ok));
        ASSERT_EQ(lastSamples.size(), 20u);
        EXPECT_EQ(lastSamples[0].y, 1.0 - 1.0 + 100.0);  // the override reached the run
    }
    // A run that never ends stops when its owner goes, and says nothing.
    EXPECT_EQ(runner->Submit({endless, {}, 0}), 3u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 3; }));
    runner.reset();
    EXPECT_EQ(finished.size(), 2u);
}
