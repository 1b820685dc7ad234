#pragma once
// One area of the main window's commands: its actions, their slots and its
// part of the action-state update. The window makes each handler once, has
// it add its actions to the window's table, then places the actions in menus
// and tool bars through the handler's typed members.
namespace qm {

class ActionTable;
class TMainContext;

class TCommandHandler {
public:
    explicit TCommandHandler(TMainContext& context) : ctx_(context) {}
    virtual ~TCommandHandler() = default;
    TCommandHandler(const TCommandHandler&) = delete;
    TCommandHandler& operator=(const TCommandHandler&) = delete;

    // Adds the area's actions to `table` and keeps their handles.
    virtual void CreateActions(ActionTable& table) = 0;
    // Applies the area's enabling and checking rules.
    virtual void UpdateActions() {}

protected:
    TMainContext& ctx_;
};

}  // namespace qm
