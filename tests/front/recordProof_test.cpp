// Records proved by their replays: the studio's own run on course 0 (data/studio), driven again,
// gives its time to the hundredth of a hundredth; a copy tampered with (its checksum made good
// again) or a kept time its replay does not give is marked unverified, and the game on screen
// finds the shared clock and keys as it left them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "front/recordProof.h"
#include "records/replay.h"
#include "tempFolder.h"
#include "tests/race/raceFixture.h"

static const char studioRun[] = TD_SOURCE_DIR "/data/studio/course0.replay";

class RecordProofTest : public LoadedGameTest {};

// The records file of races alone, with these times on course 0.
static void writeRecords(const std::string& path, float race, float lap) {
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fprintf(f, "trailerdash records 1\nlap 0 %.9g\nrace 0 %.9g\n", lap, race);
    fclose(f);
}

TEST_F(RecordProofTest, ATamperedBestReplayIsUnverifiedAndAnIntactOneVerified) {
    if (HasFatalFailure() || IsSkipped()) return;
    auto replay = std::make_unique<Replay>();
    char why[128];
    ASSERT_TRUE(replay->load(studioRun, why, sizeof why)) << why;
    const int64_t frequencyAtStart = perfFrequency;
    RecordProver prover(nullptr);
    auto intact = std::make_unique<ReplayDrive>();
    ASSERT_TRUE(prover.drive(*replay, *intact));
    EXPECT_EQ(perfFrequency, frequencyAtStart) << "making the prover's own game left the shared clock alone";
    ASSERT_TRUE(intact->reproduced) << "frame " << intact->firstDifference;
    ASSERT_TRUE(intact->finished);
    printf("studio run: %.9g s, best lap %.9g s, %d frames, driven again in %.1f ms\n", intact->raceSeconds,
           intact->bestLapSeconds, intact->framesRun, prover.lastSeconds * 1000.0);

    enum Tamper { none, poseMoved, keyChanged, noReplay };
    struct Case {
        const char* what;
        Tamper tamper;
        float raceShift;  // seconds taken off the kept race time
        RecordProof race, lap;
    } cases[] = {
        {"intact", none, 0.0f, proofHeld, proofHeld},
        {"one pose moved a unit", poseMoved, 0.0f, proofFailed, proofFailed},
        {"the first Up made a Down", keyChanged, 0.0f, proofFailed, proofFailed},
        {"the kept race time shaved", none, 0.5f, proofFailed, proofHeld},
        {"no replay kept", noReplay, 0.0f, proofFailed, proofFailed},
    };
    game->setRivals(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder("td-proof");
        auto copy = std::make_unique<Replay>();
        ASSERT_TRUE(copy->load(studioRun, why, sizeof why));
        if (c.tamper == poseMoved) copy->frames[copy->frameCount / 2].pose.x += 1.0f;
        if (c.tamper == keyChanged)
            for (int m = 0; m < copy->messageCount; m++)
                if (copy->messages[m].message == replayKeyDown && copy->messages[m].wParam == VK_UP) {
                    copy->messages[m].wParam = VK_DOWN;
                    break;
                }
        // Saving writes a good checksum: the tampering is all the proof has to find.
        if (c.tamper != noReplay) {
            ASSERT_TRUE(copy->save(folder.file("alone-best-course0.replay").c_str()));
        }
        writeRecords(folder.file("alone-records"), intact->raceSeconds - c.raceShift, intact->bestLapSeconds);

        Keys keysBefore = keys;
        int64_t nowBefore = perfCounterNow, frequencyBefore = perfFrequency;
        game->history.setProver(&RecordProver::proveForHistory, &prover);
        game->history.keepIn(folder.path.c_str(), stderr);
        EXPECT_EQ(game->history.raceProof(*game), c.race);
        EXPECT_EQ(game->history.lapProof(*game), c.lap);
        // The classic race's records are another table: none here, nothing proved.
        game->setRivals(Game::maxTrucks - 1);
        EXPECT_EQ(game->history.raceProof(*game), proofNotChecked);
        game->setRivals(0);
        EXPECT_EQ(&platform(), &platformScript);
        EXPECT_EQ(perfCounterNow, nowBefore);
        EXPECT_EQ(perfFrequency, frequencyBefore);
        EXPECT_EQ(memcmp(keys.down, keysBefore.down, sizeof keys.down), 0);
    }
}
