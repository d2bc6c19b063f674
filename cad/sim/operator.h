#pragma once

// The user at the substitute host: whoever picks points, selects entities and types answers.
// Tests script it; the drawing window lets a person do it.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cad/sim/drawing.h"
#include "cad/variant.h"

namespace navisaz::sim {

struct PointAnswer {
    enum class Kind { Point, Enter, Cancel };
    Kind kind = Kind::Cancel;
    Point3 point{};
};

struct SelectionAnswer {
    bool cancelled = true;
    std::vector<std::u16string> handles{};  // the entities picked, in picking order
};

struct TypedAnswer {
    enum class Kind { Integer, Text, Enter, Cancel };
    Kind kind = Kind::Cancel;
    std::int32_t integer = 0;
    std::u16string text{};
};

// What an on-screen selection will keep: the operator may use it to highlight only what counts.
using EntityFilter = std::function<bool(const EntityData&)>;

class Operator {
  public:
    virtual ~Operator() = default;
    // A point; base, when given, is where the rubber-band line starts.
    virtual PointAnswer GetPoint(const std::u16string& prompt,
                                 const std::optional<Point3>& base) = 0;
    virtual SelectionAnswer SelectOnScreen(const std::u16string& prompt, const Drawing& drawing,
                                           const EntityFilter& accepts) = 0;
    virtual TypedAnswer GetInput(const std::u16string& prompt) = 0;
    // A line the host writes to its command line (prompts, messages).
    virtual void ShowText(const std::u16string& /*line*/) {}
};

// Answers from a queue, first in first out. An empty queue, or an answer of the wrong kind for the
// question (a point where a selection is asked, say), counts as Esc.
class ScriptedOperator : public Operator {
  public:
    using Answer = std::variant<PointAnswer, SelectionAnswer, TypedAnswer>;

    void QueuePoint(double x, double y, double z = 0);
    void QueueEnter();  // an empty answer (Enter) to a point or typed prompt
    void QueueEscape();
    void QueueSelection(std::vector<std::u16string> handles);
    void QueueInteger(std::int32_t value);
    void QueueText(std::u16string text);
    void Queue(Answer answer) { answers_.push_back(std::move(answer)); }
    std::size_t Pending() const { return answers_.size(); }

    PointAnswer GetPoint(const std::u16string& prompt, const std::optional<Point3>& base) override;
    SelectionAnswer SelectOnScreen(const std::u16string& prompt, const Drawing& drawing,
                                   const EntityFilter& accepts) override;
    TypedAnswer GetInput(const std::u16string& prompt) override;
    void ShowText(const std::u16string& line) override { shown.push_back(line); }

    // What the host showed, prompts included, in order; and the base point of each point pick.
    std::vector<std::u16string> shown;
    std::vector<std::optional<Point3>> pickBases;

  private:
    std::optional<Answer> Next();
    std::deque<Answer> answers_;
};

}  // namespace navisaz::sim
