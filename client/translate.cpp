#include "client/translate.h"

#include "client/decode.h"
#include "client/http.h"
#include "client/signing.h"
#include "text/charset.h"

namespace {

Translation failure(const Text& reason) { return {false, {}, reason}; }

// What the user can do about the service's common error codes.
Text error_hint(const Text& code) {
    static const struct {
        const char* code;
        const char* hint;
    } hints[] = {
        {"52001", "请求超时，请重试"},
        {"52002", "翻译服务系统错误，请重试"},
        {"52003", "未授权用户，请检查 appid 是否正确"},
        {"54000", "必填参数为空"},
        {"54001", "签名错误，请检查密钥"},
        {"54003", "访问频率受限，请稍后再试"},
        {"54004", "账户余额不足"},
        {"54005", "长文本请求过于频繁，请稍后再试"},
        {"58000", "客户端 IP 不在许可范围内"},
        {"58001", "不支持该语言方向"},
        {"58002", "翻译服务已关闭"},
    };
    for (const auto& h : hints)
        if (code == Text(h.code)) return h.hint;
    return {};
}

std::size_t skip_space(std::string_view s, std::size_t p) {
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t' || s[p] == '\r' || s[p] == '\n')) ++p;
    return p;
}

// The raw JSON value after each "key": from the position `from`, npos when there is none.
// A string value is returned without its quotes and still escaped; its end is the first
// double quote that no backslash escapes. Other values run to the next , } or ].
struct Value {
    std::string_view raw;
    std::size_t next = std::string_view::npos;
};

Value find_value(std::string_view json, std::string_view key, std::size_t from) {
    std::string quoted = "\"" + std::string(key) + "\"";
    for (std::size_t at = json.find(quoted, from); at != std::string_view::npos; at = json.find(quoted, at + 1)) {
        std::size_t p = skip_space(json, at + quoted.size());
        if (p >= json.size() || json[p] != ':') continue;
        p = skip_space(json, p + 1);
        if (p < json.size() && json[p] == '"') {
            std::size_t end = p + 1;
            // A two-byte character's trail byte can be 0x5C ("\"), so step by characters.
            while (end < json.size() && json[end] != '"')
                end += json[end] == '\\' || static_cast<unsigned char>(json[end]) >= 0x80 ? 2 : 1;
            if (end >= json.size()) return {};  // cut short: not a value we can trust
            return {json.substr(p + 1, end - p - 1), end + 1};
        }
        std::size_t end = json.find_first_of(",}]", p);
        if (end == std::string_view::npos) end = json.size();
        std::string_view raw = json.substr(p, end - p);
        while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\r' || raw.back() == '\n')) raw.remove_suffix(1);
        return {raw, end};
    }
    return {};
}

Text transport_reason(const HttpReply& reply) {
    switch (reply.outcome) {
    case HttpOutcome::cannot_connect: return "无法连接到翻译服务，请检查网络";
    case HttpOutcome::timed_out: return "翻译服务在规定时间内没有应答";
    case HttpOutcome::dropped: return "接收译文时连接中断";
    case HttpOutcome::completed: break;
    }
    return {};
}

}  // namespace

Translation translation_from_reply(const HttpReply& reply) {
    if (reply.outcome != HttpOutcome::completed) return failure(transport_reason(reply));

    // The reply is JSON in UTF-8; nothing in it is %-encoded.
    Text json = utf8_to_ansi(to_bytes(reply.body));
    std::string_view s = json.view();

    if (Value code = find_value(s, "error_code", 0); !code.raw.empty() && code.raw != "52000") {
        Text message = unescape_unicode(Text(find_value(s, "error_msg", 0).raw));
        Text hint = error_hint(Text(code.raw));
        return failure(
            text_concat({"错误 ", code.raw, " ", message, hint.empty() ? "" : "（", hint, hint.empty() ? "" : "）"}));
    }
    if (reply.status != 200) return failure(text_concat({"翻译服务返回 HTTP 状态 ", to_text(reply.status)}));

    // One dst a line of the source, in order.
    std::string joined;
    bool found = false;
    for (Value dst = find_value(s, "dst", 0); dst.next != std::string_view::npos;
         dst = find_value(s, "dst", dst.next)) {
        if (found) joined += "\r\n";
        joined += unescape_unicode(Text(dst.raw)).view();
        found = true;
    }
    if (!found) return failure("翻译服务的答复中没有译文");
    return {true, Text(std::move(joined)), {}};
}

Translation translate_text(const Text& source) {
    return translation_from_reply(http_request(build_signed_url(source)));
}
