// The listing window of the desktop as a panel of the page: the listing text and the result
// line "Assemble Error: N", green after a clean assembly and red otherwise.

export class ListingWindow {
  constructor(root) {
    this.root = root;
    this.text1 = root.querySelector('#Form2-Text1');
    this.label1 = root.querySelector('#Form2-Label1');
  }

  /** Shows an assembly as the desktop's Assemble does (`assembly` from the core). */
  showAssembly(assembly) {
    // The text and the colour change even when the panel stays as it was: a clean one-line
    // program updates the hidden listing but shows nothing.
    this.text1.textContent = assembly.listingWindowText;
    this.label1.classList.toggle('success', assembly.success);
    this.label1.classList.toggle('failure', !assembly.success);
    if (assembly.showListing) {
      this.label1.textContent = assembly.resultLine;
      this.root.hidden = false;
    }
  }
}
