#include "platform/scripted_answerer.h"

namespace platform {

ScriptedAnswerer::ScriptedAnswerer() { InstallAnswerer(this); }
ScriptedAnswerer::~ScriptedAnswerer() { InstallAnswerer(nullptr); }

int ScriptedAnswerer::Answer(const QString& prompt, int style, const QString& title) {
    boxes_.push_back({prompt, style, title});
    if (answers_.empty()) {
        if (fallback) return fallback(boxes_.back());
        if (onUnexpected) onUnexpected(boxes_.back());
        return vbOK;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace platform
