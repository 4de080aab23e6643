#pragma once
// The document of the single-document window. It holds no data: every setting lives in the
// process-wide settings record and the view, so closing the program never asks to save anything.

class COrvelDoc {
public:
    bool OnNewDocument() { return true; }
    bool IsModified() const { return false; }
};
