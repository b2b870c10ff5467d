// PLACEHOLDER: replace.
namespace basic {}
