#pragma once
// The wait cursor, counted: nested requests restore the previous cursor only
// when the outermost one is released.
namespace vlr {

class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

    // Gives the cursor back before the end of the scope (once).
    void release();
    // Requests held right now, program-wide.
    static int depth();

private:
    bool m_held = true;
};

} // namespace vlr
