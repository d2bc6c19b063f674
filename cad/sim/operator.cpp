#include "cad/sim/operator.h"

namespace navisaz::sim {

void ScriptedOperator::QueuePoint(double x, double y, double z) {
    Queue(PointAnswer{PointAnswer::Kind::Point, {x, y, z}});
}

void ScriptedOperator::QueueEnter() {
    Queue(TypedAnswer{TypedAnswer::Kind::Enter});
}

void ScriptedOperator::QueueEscape() {
    Queue(TypedAnswer{TypedAnswer::Kind::Cancel});
}

void ScriptedOperator::QueueSelection(std::vector<std::u16string> handles) {
    Queue(SelectionAnswer{false, std::move(handles)});
}

void ScriptedOperator::QueueInteger(std::int32_t value) {
    Queue(TypedAnswer{TypedAnswer::Kind::Integer, value});
}

void ScriptedOperator::QueueText(std::u16string text) {
    Queue(TypedAnswer{TypedAnswer::Kind::Text, 0, std::move(text)});
}

std::optional<ScriptedOperator::Answer> ScriptedOperator::Next() {
    if (answers_.empty()) {
        return std::nullopt;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

PointAnswer ScriptedOperator::GetPoint(const std::u16string& prompt,
                                       const std::optional<Point3>& base) {
    shown.push_back(prompt);
    pickBases.push_back(base);
    const auto answer = Next();
    if (!answer) {
        return {};
    }
    if (const auto* point = std::get_if<PointAnswer>(&*answer)) {
        return *point;
    }
    if (const auto* typed = std::get_if<TypedAnswer>(&*answer);
        typed && typed->kind == TypedAnswer::Kind::Enter) {
        return {PointAnswer::Kind::Enter};
    }
    return {};
}

SelectionAnswer ScriptedOperator::SelectOnScreen(const std::u16string& prompt, const Drawing&,
                                                 const EntityFilter&) {
    shown.push_back(prompt);
    const auto answer = Next();
    if (answer) {
        if (const auto* selection = std::get_if<SelectionAnswer>(&*answer)) {
            return *selection;
        }
    }
    return {};
}

TypedAnswer ScriptedOperator::GetInput(const std::u16string& prompt) {
    shown.push_back(prompt);
    const auto answer = Next();
    if (answer) {
        if (const auto* typed = std::get_if<TypedAnswer>(&*answer)) {
            return *typed;
        }
    }
    return {};
}

}  // namespace navisaz::sim
