#include "page_fakes.h"

#include "model/cv_text_store.h"
#include "stations/station_manager.h"

namespace {

class RecordingBar : public WaitProgress {
  public:
    explicit RecordingBar(std::vector<std::string>& events) : events_(events) {}
    ~RecordingBar() override { events_.push_back("bar close"); }
    void step(const char* message) override {
        events_.push_back(std::string("step ") + (message ? message : "(same)"));
    }
    void setMessage(const char* message) override {
        events_.push_back(std::string("message ") + message);
    }
    void setPosition(uint32_t position, const char* message) override {
        events_.push_back("position " + std::to_string(position) + " " +
                          (message ? message : "(same)"));
    }
    void abandon() override { events_.push_back("bar abandon"); }

  private:
    std::vector<std::string>& events_;
};

} // namespace

std::string FakePageView::boxText(int controlId) {
    auto box = boxes.find(controlId);
    return box == boxes.end() ? std::string() : box->second;
}

void FakePageView::setBoxText(int controlId, const std::string& text) {
    boxes[controlId] = text;
}

void FakePageView::showError(const std::string& text) {
    events.push_back("error " + text);
}

bool FakePageView::confirm(const std::string& text, const char* caption) {
    events.push_back(std::string(caption) + "? " + text);
    return answerYes;
}

std::unique_ptr<WaitProgress> FakePageView::openWaitBar(uint32_t maximum, const char* message) {
    events.push_back("bar open " + std::to_string(maximum) + " " + message);
    return std::make_unique<RecordingBar>(events);
}

int FakePageView::takeKeyPress() {
    return ++cancelChecks == escapeAtCheck ? 27 : 0;
}

std::vector<std::string> FakePageView::eventsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events)
        if (event.compare(0, prefix.size(), prefix) == 0)
            found.push_back(event);
    return found;
}

int DecoderDriver::readCv(int32_t cv, uint8_t* value) {
    traffic.push_back("R" + std::to_string(cv));
    auto held = cvs.find(cv);
    if (cv == failingCv || held == cvs.end()) {
        setStationErrorText("NO DATA RETURNED");
        return 1;
    }
    *value = static_cast<uint8_t>(held->second);
    setStationErrorText(nullptr);
    return 0;
}

int DecoderDriver::writeCv(int32_t cv, int value) {
    traffic.push_back("W" + std::to_string(cv) + "=" + std::to_string(value));
    if (cv == failingCv) {
        setStationErrorText("ERROR SENDING DATA");
        return 1;
    }
    cvs[cv] = value;
    setStationErrorText(nullptr);
    return 0;
}

DecoderDriver* DecoderStation::constructed = nullptr;

void DecoderStation::construct() {
    constructed = new DecoderDriver();
}

DecoderStation::DecoderStation()
    : previousStore_(setSettingsStore(&store_)),
      previousConstructor_(setStationConstructor(construct)) {
    restoreStation();
    decoder_ = constructed;
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
        forgetCvValue(cv);
    CvTextStore::reset();
}

DecoderStation::~DecoderStation() {
    saveAndShutdownStations();
    setStationConstructor(previousConstructor_);
    setSettingsStore(previousStore_);
    for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
        forgetCvValue(cv);
    CvTextStore::reset();
}
