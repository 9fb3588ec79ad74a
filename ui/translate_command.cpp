// What the Translate button does: send the input box's text and show it with its translation.
#include "client/translate.h"
#include "ui/handlers.h"
#include "ui/notice.h"

void handle_translate_click(MainWindow& window) {
    const Text sent = window.content(Control::编辑框1);
    if (text_equal(sent, Text())) {
        timed_message_box("请输入翻译内容！！！");
        return;
    }

    // Window events keep running while the reply is awaited; with the button off, no second
    // translation can start inside this one.
    window.set_enabled(Control::按钮1, false);
    const Translation result = translate_text(sent);
    if (window.closed()) return;  // the controls are going away with the window
    window.set_enabled(Control::按钮1, true);

    if (!result.ok) {
        timed_message_box(text_concat({"翻译失败：", result.reason}));
        return;
    }
    window.set_content(Control::编辑框2, text_concat({sent, "\r\n", result.text}));
    // Only what was sent goes; anything the user typed meanwhile stays.
    if (text_equal(window.content(Control::编辑框1), sent)) window.set_content(Control::编辑框1, Text());
}
