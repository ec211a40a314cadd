#pragma once

class QLabel;

// Sizes a label to its text, as a label that sizes itself does: the width
// and height follow the text, and the edge the text is aligned to stays in
// place (the left edge, the right edge, or the centre for centred text).
void sizeToText(QLabel* label);
