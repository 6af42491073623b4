#pragma once

namespace ui {

// Shows the wait cursor for its lifetime; nested hourglasses restore in turn,
// and an exception unwinding through one restores the cursor as well.
//   { ui::Hourglass wait; longWork(); }
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool shown_ = false;
};

} // namespace ui
