#include "cards/CardReader.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>
#include <string>

namespace kivtal::cards {
namespace {

const std::string kCards = KIVTAL_TEST_CARDS;

CardReader& Reader() {
    static std::unique_ptr<CardReader> reader = [] {
        std::string error;
        auto r = CardReader::Create(&error);
        EXPECT_TRUE(r) << error;
        return r;
    }();
    return *reader;
}

Json::Value Truth(const std::string& stem) {
    std::ifstream in(kCards + "/" + stem + ".json");
    Json::Value truth;
    std::string error;
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &truth, &error)) << error;
    return truth;
}

// One card of each kind the set has (Chinese and English, 300 and 150 dpi, JPEG and
// PNG): the numbers and addresses a card's owner is reached by come out exact.
TEST(CardReader, ReadsRenderedCards) {
    for (const char* stem : {"card-000", "card-001", "card-002", "card-003"}) {
        SCOPED_TRACE(stem);
        const Json::Value truth = Truth(stem);
        const CardScan scan = Reader().ReadFile(kCards + "/" + truth["image"].asString());
        ASSERT_EQ(scan.status, CardStatus::kRead);
        EXPECT_EQ(scan.quarterTurns, 0);
        EXPECT_EQ(scan.reading[CardField::kMobile].value, truth["mobile"].asString());
        EXPECT_EQ(scan.reading[CardField::kOfficePhone].value, truth["office_phone"].asString());
        EXPECT_EQ(scan.reading[CardField::kCompany].value, truth["company"].asString());
        EXPECT_EQ(scan.reading[CardField::kName].value, truth["name"].asString());
    }
}

// A short name in large bold type that the engine's line finder takes for a picture,
// reading nothing of it as a line.
TEST(CardReader, ReadsALargeNameTheLineFinderPassesOver) {
    const Json::Value truth = Truth("seed-1127/card-022");
    const CardScan scan = Reader().ReadFile(kCards + "/seed-1127/" + truth["image"].asString());
    ASSERT_EQ(scan.status, CardStatus::kRead);
    EXPECT_EQ(scan.reading[CardField::kName].value, truth["name"].asString());
}

TEST(CardReader, TurnsAPoorReadingRound) {
    const Json::Value truth = Truth("card-000");
    const CardScan scan = Reader().ReadFile(kCards + "/upside-down.jpg");
    ASSERT_EQ(scan.status, CardStatus::kRead);
    EXPECT_EQ(scan.quarterTurns, 2);
    EXPECT_EQ(scan.reading[CardField::kMobile].value, truth["mobile"].asString());
}

// Pictures that are no card: a clear status and no field filled from noise.
TEST(CardReader, RefusesWhatIsNoCard) {
    struct Case {
        std::string file;
        CardStatus status;
    };
    const Case cases[] = {{"blank.png", CardStatus::kNoText},
                          {"prose.png", CardStatus::kNotACard},
                          {"missing.jpg", CardStatus::kBadPicture},
                          {"card-000.json", CardStatus::kBadPicture}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CardScan scan = Reader().ReadFile(kCards + "/" + c.file);
        EXPECT_EQ(scan.status, c.status) << CardStatusText(scan.status);
        EXPECT_EQ(scan.reading.FoundCount(), 0);
    }
}

}  // namespace
}  // namespace kivtal::cards
