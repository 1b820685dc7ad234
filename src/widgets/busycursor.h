#pragma once
// The hourglass for long operations: set on construction, restored on
// destruction, on every path out of the scope.
namespace qm {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // How many busy cursors are active now.
    static int Depth();
    // Restores cursors until at most `depth` are active (used by runCommand
    // for cursors that code set without a BusyCursor scope, via Push/Pop).
    static void RestoreTo(int depth);
    // Unscoped forms, for code that sets the cursor in one handler and
    // restores it in another.
    static void Push();
    static void Pop();
};

}  // namespace qm
