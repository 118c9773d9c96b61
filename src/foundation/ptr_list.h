// A singly linked list of non-owned pointers, optionally kept sorted by a three-way compare.
#pragma once

#include <cstdint>

// Three-way compare: 0 when a sorts before b, 1 when equal, 2 when a sorts after b.
using PtrCompare = int (*)(const void* a, const void* b);
using PtrPredicate = int (*)(void* context, void* element);

class PtrListIterator;

class PtrList {
  public:
    PtrList() = default;
    PtrList(const PtrList&) = delete;
    PtrList& operator=(const PtrList&) = delete;
    virtual ~PtrList();

    void pushFront(void* element);
    void pushBack(void* element);
    void* remove(void* element);
    void setCompare(PtrCompare compare);
    uint32_t size() const { return count_; }
    void* find(PtrPredicate predicate, void* context) const;
    PtrListIterator* iterate();

  private:
    friend class PtrListIterator;
    struct Node {
        Node* next;
        void* element;
    };

    void sort();

    Node* head_ = nullptr;
    uint32_t count_ = 0;
    uint32_t changeCounter_ = 1;
    PtrCompare compare_ = nullptr;
};

class PtrListIterator {
  public:
    // What `next` returns when the list changed since `first`.
    static void* const changed;

    explicit PtrListIterator(PtrList& list) : list_(list) {}
    void* first();
    void* next();

  private:
    PtrList& list_;
    PtrList::Node* current_ = nullptr;
    uint32_t changeCounter_ = 0;
};
