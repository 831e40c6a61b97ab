"""A sequence for the list-rule tests."""


class Sequence:
    """A sequence that is no list or tuple: length and items by position, with
    a chosen exception raised from __len__ or from reading one item."""

    def __init__(self, items, len_error=None, item_error=None, bad_index=None):
        self.items, self.len_error, self.item_error, self.bad_index = items, len_error, item_error, bad_index

    def __len__(self):
        if self.len_error:
            raise self.len_error
        return len(self.items)

    def __getitem__(self, index):
        if index == self.bad_index:
            raise self.item_error
        return self.items[index]
