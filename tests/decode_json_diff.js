// Compares unescape_unicode with node's JSON.parse on a few thousand generated strings, escaped
// as the translation service escapes them (\uXXXX for non-ASCII, "\/"), and also with
// non-ASCII left raw. Usage: node decode_json_diff.js <path of decode_json_check>
'use strict';
const { spawnSync } = require('child_process');

let state = 0x2545f491;
function random(n) {  // xorshift32: the same strings on every run
    state ^= state << 13; state >>>= 0;
    state ^= state >>> 17;
    state ^= state << 5; state >>>= 0;
    return state % n;
}
const pick = (s) => { const a = Array.from(s); return a[random(a.length)]; };
const hex4 = (c) => c.toString(16).padStart(4, '0');

const pieces = [
    () => String.fromCharCode(0x20 + random(95)),                  // printable ASCII
    () => String.fromCharCode(0x4e00 + random(0x9fa6 - 0x4e00)),   // Chinese
    () => pick('\'"‘’“”「」'),
    () => pick('\\/'),
    () => '%' + pick('0123456789abcdefABCDEFgz%') + pick('0123456789abcdefXYZ'),
    () => pick(['%u4f60', '%41', 'u0041', '\\u0041', '\\x41', '\\101', '{$}', '\\n']),
    () => String.fromCharCode(random(32)),                          // control characters, U+0000 too
    () => String.fromCodePoint(0x1f600 + random(80)),               // astral
    () => String.fromCharCode(0xd800 + random(0x800)),              // lone surrogate
    () => pick('乗俓僜刓匼哱嘰圽塡奬媆孿'),                             // 0x5C as the trail byte
    () => pick('가나€é\u2028\u00a0％＼'),                             // partly beyond code page 936
];

function escape(s, raw) {
    let out = '';
    for (let i = 0; i < s.length; ++i) {
        const c = s.charCodeAt(i);
        const pair = c >= 0xd800 && c <= 0xdbff && i + 1 < s.length && (s.charCodeAt(i + 1) & 0xfc00) === 0xdc00;
        if (c === 0x22) out += '\\"';
        else if (c === 0x5c) out += '\\\\';
        else if (c === 0x2f) out += '\\/';
        else if (c === 8) out += '\\b';
        else if (c === 12) out += '\\f';
        else if (c === 10) out += '\\n';
        else if (c === 13) out += '\\r';
        else if (c === 9) out += '\\t';
        else if (c < 0x20) out += '\\u' + hex4(c);
        else if (c < 0x80) out += s[i];
        else if (raw && pair) out += s[i] + s[++i];
        else if (raw && (c & 0xf800) !== 0xd800) out += s[i];
        else out += '\\u' + (random(2) ? hex4(c) : hex4(c).toUpperCase());
    }
    return out;
}

const count = 5000;
const lines = [];
for (let k = 0; k < count; ++k) {
    let s = '';
    for (let n = random(40); n > 0; --n) s += pieces[random(pieces.length)]();
    const escaped = escape(s, k % 2 === 1);
    const parsed = JSON.parse('"' + escaped + '"');
    if (parsed !== s) throw new Error('generator escaped wrongly: ' + escaped);
    lines.push(escaped + '\t' + Array.from({ length: parsed.length }, (_, i) => hex4(parsed.charCodeAt(i))).join(''));
}

const run = spawnSync(process.argv[2], { input: lines.join('\n') + '\n', encoding: 'utf8', maxBuffer: 1 << 26 });
process.stdout.write(run.stdout || '');
process.stderr.write(run.stderr || '');
if (run.error) throw run.error;
if (run.status !== 0 || !(run.stdout || '').includes(count + ' strings checked, 0 mismatches')) process.exit(1);
