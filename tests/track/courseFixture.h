#pragma once
// A GL context, a fresh texture table, a scripted platform and a temporary data folder holding
// generated course pictures, for tests that build the real courses.
#include "core/platform.h"
#include "courseFiles.h"
#include "globalsGuard.h"
#include "glTest.h"
#include "graphics/texture.h"
#include "track/courses.h"
#include "track/trackTileSet.h"

#include <memory>
#include <string>

class CourseTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        initTextures();
        setPlatform(&platform);
        folder = makeTempFolder();
        ASSERT_FALSE(folder.empty());
        ASSERT_TRUE(writeCourseImages(folder));
        tileSet = std::make_unique<TrackTileSet>();
        tracks.reset(new Track[courseCount]);
    }

    void TearDown() override {
        tracks.reset();
        tileSet.reset();
        removeFolder(folder);
        releaseTextures();
        GLTest::TearDown();
    }

    GlobalsGuard globals;
    ScriptedPlatform platform;
    std::string folder;
    std::unique_ptr<TrackTileSet> tileSet;
    std::unique_ptr<Track[]> tracks;
};
