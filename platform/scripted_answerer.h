#pragma once
// The answerer tests install: it answers each box from a list, records every box and beep, and
// reports a box that nobody expected through onUnexpected (tests make that a failure).
#include "platform/message_box.h"

#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace platform {

struct RecordedBox {
    QString prompt;
    int style;
    QString title;
};

class ScriptedAnswerer : public Answerer {
public:
    ScriptedAnswerer();
    ~ScriptedAnswerer() override;

    void Expect(int answer) { answers_.push_back(answer); }
    int Answer(const QString& prompt, int style, const QString& title) override;
    void Beep() override { ++beeps_; }

    const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    int Beeps() const { return beeps_; }
    int Pending() const { return int(answers_.size()); }
    void Clear() { boxes_.clear(); beeps_ = 0; answers_.clear(); }

    // Answers every box once the scripted answers are used up ("Retry to every report").
    std::function<int(const RecordedBox&)> fallback;
    // Called for a box when no answer is left and there is no fallback; the box is answered vbOK.
    std::function<void(const RecordedBox&)> onUnexpected;

private:
    std::deque<int> answers_;
    std::vector<RecordedBox> boxes_;
    int beeps_ = 0;
};

}  // namespace platform
