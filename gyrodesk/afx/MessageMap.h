// Message maps: each class that handles messages keeps a static table of entries, written with
// the macros below, that names the message (and for WM_COMMAND the control id and notification
// code) and the member that handles it. A message is looked up in the most derived class's
// table first, then in each base's; the first match is called. A message with no entry in any
// table goes to the window's default processing, so a handler left out of the map never runs.
//
//   class CMyDlg : public CDialog {
//       ...
//       void OnPoll();
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_SYSCOMMAND()
//       ON_BN_CLICKED(IDC_POLL, OnPoll)
//   END_MESSAGE_MAP()
//
// Handlers are named as members of the class (OnPoll), or qualified by a base class name
// (CWinApp::OnHelp); the macros check their signatures at compile time.
#pragma once

#include <afx/Constants.h>

class CCmdTarget;

// The handler signatures that entries can have.
enum AfxSig : UINT {
    AfxSig_end = 0,  // marks the end of a table
    AfxSig_vv,       // void ()                   commands, notifications, WM_PAINT, WM_CLOSE
    AfxSig_vw,       // void (UINT)               WM_TIMER
    AfxSig_vwl,      // void (UINT, LPARAM)       WM_SYSCOMMAND
    AfxSig_hv,       // HCURSOR ()                WM_QUERYDRAGICON
};

// The handler of an entry, in the member that its signature names.
union AfxMessageHandler {
    void (CCmdTarget::*vv)();
    void (CCmdTarget::*vw)(UINT);
    void (CCmdTarget::*vwl)(UINT, LPARAM);
    HCURSOR (CCmdTarget::*hv)();
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_ message
    UINT nCode;     // WM_COMMAND: notification code (BN_CLICKED, EN_CHANGE); else 0
    UINT nID;       // WM_COMMAND: control id; else 0
    AfxSig nSig;
    AfxMessageHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root class
    const AFX_MSGMAP_ENTRY* lpEntries;     // ends with an AfxSig_end entry
};

// The first entry for a message, searching map and then its bases; null when there is none.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code,
                                            UINT id);

// The root of every class with a message map.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The most derived class's table.
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
};

// The macros are laid out by hand, as the tables they build.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                     \
protected:                                                        \
    static const AFX_MSGMAP* GetThisMessageMap();                 \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        using ThisClass = theClass;                                                     \
        using TheBaseClass = baseClass;                                                 \
        static_assert(sizeof(ThisClass) > 0 && sizeof(TheBaseClass) > 0);              \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
        {0, 0, 0, AfxSig_end, {.vv = nullptr}}};                                        \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,         \
                                              &messageEntries[0]};                      \
        return &messageMap;                                                             \
    }

// Converts a member of the class being mapped to the stored handler type, checking that it has
// the signature sig.
template <class Class, class Signature>
using AfxMemberFn = Signature Class::*;
#define AFX_MSG_HANDLER(sig, memberFxn)           \
    static_cast<AfxMemberFn<CCmdTarget, sig>>(    \
        static_cast<AfxMemberFn<ThisClass, sig>>(&ThisClass::memberFxn))

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), AfxSig_vv, {.vv = AFX_MSG_HANDLER(void(), memberFxn)}},
#define ON_BN_CLICKED(id, memberFxn)                                    \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), AfxSig_vv,          \
     {.vv = AFX_MSG_HANDLER(void(), memberFxn)}},
#define ON_EN_CHANGE(id, memberFxn)                                     \
    {WM_COMMAND, EN_CHANGE, static_cast<UINT>(id), AfxSig_vv,           \
     {.vv = AFX_MSG_HANDLER(void(), memberFxn)}},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AfxSig_vv, {.vv = AFX_MSG_HANDLER(void(), OnPaint)}},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, AfxSig_vw, {.vw = AFX_MSG_HANDLER(void(UINT), OnTimer)}},
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, AfxSig_vwl, {.vwl = AFX_MSG_HANDLER(void(UINT, LPARAM), OnSysCommand)}},
#define ON_WM_CLOSE() \
    {WM_CLOSE, 0, 0, AfxSig_vv, {.vv = AFX_MSG_HANDLER(void(), OnClose)}},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, AfxSig_vv, {.vv = AFX_MSG_HANDLER(void(), OnDestroy)}},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv, {.hv = AFX_MSG_HANDLER(HCURSOR(), OnQueryDragIcon)}},
// clang-format on
