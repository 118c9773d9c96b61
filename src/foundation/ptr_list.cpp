// PtrList keeps its order with a bubble sort over element pointers: lists are short, and the
// change counter lets iterators notice every swap.
#include "foundation/ptr_list.h"

#include <cstdint>
#include <new>

void* const PtrListIterator::changed = reinterpret_cast<void*>(~std::uintptr_t{0});

PtrList::~PtrList() {
    while (head_) {
        Node* next = head_->next;
        delete head_;
        head_ = next;
    }
}

void PtrList::pushFront(void* element) {
    Node* node = new (std::nothrow) Node{head_, element};
    if (!node)
        return;
    head_ = node;
    ++changeCounter_;
    ++count_;
    sort();
}

void PtrList::pushBack(void* element) {
    Node* node = new (std::nothrow) Node{nullptr, element};
    if (!node)
        return;
    Node** link = &head_;
    while (*link)
        link = &(*link)->next;
    *link = node;
    ++changeCounter_;
    ++count_;
    sort();
}

void* PtrList::remove(void* element) {
    for (Node** link = &head_; *link; link = &(*link)->next) {
        Node* node = *link;
        if (node->element != element)
            continue;
        *link = node->next;
        delete node;
        ++changeCounter_;
        --count_;
        return element;
    }
    return nullptr;
}

void PtrList::setCompare(PtrCompare compare) {
    compare_ = compare;
    sort();
}

void* PtrList::find(PtrPredicate predicate, void* context) const {
    if (!predicate || !context)
        return nullptr;
    for (Node* node = head_; node; node = node->next) {
        if (predicate(context, node->element))
            return node->element;
    }
    return nullptr;
}

PtrListIterator* PtrList::iterate() {
    return new PtrListIterator(*this);
}

void PtrList::sort() {
    if (!compare_ || count_ < 2)
        return;
    for (uint32_t passes = count_ - 1; passes > 0; --passes) {
        bool swapped = false;
        Node* a = head_;
        for (uint32_t i = 0; i < passes; ++i, a = a->next) {
            Node* b = a->next;
            if (compare_(a->element, b->element) == 2) {
                void* held = a->element;
                a->element = b->element;
                b->element = held;
                ++changeCounter_;
                swapped = true;
            }
        }
        if (!swapped)
            break;
    }
}

void* PtrListIterator::first() {
    changeCounter_ = list_.changeCounter_;
    current_ = list_.head_;
    return current_ ? current_->element : nullptr;
}

void* PtrListIterator::next() {
    if (list_.changeCounter_ != changeCounter_)
        return changed;
    if (!current_ || !current_->next)
        return nullptr;
    current_ = current_->next;
    return current_->element;
}
