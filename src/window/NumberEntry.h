#pragma once
// Key entry of the editing window's number fields. Every field of a family lets the same keys
// through, gives the same message for a key or a text it refuses and leaves the same key in its
// place; what Enter does is the field's own rule.
#include "platform/MessageBox.h"

#include <QString>

#include <functional>
#include <vector>

struct NumberFieldFamily {
    std::vector<int> extraKeys; // keys passed besides the digits and Backspace
    QString message;            // shown under "Advertencia" for a refused key or text
    int replacementKey;         // the key that takes a refused key's place
};

// The families of number fields, one row each.
namespace NumberFields {
extern const NumberFieldFamily ChannelGain; // Text1
// Crossover section frequencies (Text8, Text10, Text11, Text13) and Qs (Text12, Text14, Text15, Text16).
extern const NumberFieldFamily XoverFrequency;
extern const NumberFieldFamily XoverQ;
// Limiter Text500, Text503, Text504; compressor Text400, Text401, Text403, Text404.
extern const NumberFieldFamily Dynamics;
extern const NumberFieldFamily CompKnee; // Text402: no sign, no Ctrl keys
extern const NumberFieldFamily BandGain;      // Text9
extern const NumberFieldFamily BandFrequency; // Text4
extern const NumberFieldFamily BandQ;         // Text5, Text50
} // namespace NumberFields

// Runs one key of a number field of `family`: the digits, Backspace and the family's extra keys
// pass unchanged; "," and "." become the decimal sign (",", when decimalComma is 1); Enter runs
// `enter`, which applies the field's text and returns false when the text is not a number. Any
// other key (control keys such as Esc included), and an Enter on a text that is not a number,
// shows the family's message and becomes the family's replacement key.
void NumberFieldKey(const NumberFieldFamily& family, int& key, MessageBoxService& msg, int decimalComma,
                    const std::function<bool()>& enter);
